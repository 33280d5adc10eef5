// Adds a certificate (DER file) to the machine's root store, or removes it:
// tv_rootstore add|remove FILE. A process of its own, because Wine's chain
// engine sees a root added only by a process before the one that verifies.
// Exit code 0 when done.
#include <windows.h>
#include <wincrypt.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    std::ifstream in(argv[2], std::ios::binary);
    const std::string der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (der.empty()) return 3;
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0,
                                     CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (store == nullptr) return 4;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(der.data());
    const DWORD size = static_cast<DWORD>(der.size());
    BOOL done = FALSE;
    if (std::strcmp(argv[1], "add") == 0) {
        done = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, bytes, size,
                                                CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    } else if (std::strcmp(argv[1], "remove") == 0) {
        PCCERT_CONTEXT wanted = CertCreateCertificateContext(X509_ASN_ENCODING, bytes, size);
        PCCERT_CONTEXT found = wanted ? CertFindCertificateInStore(store, X509_ASN_ENCODING, 0,
                                                                   CERT_FIND_EXISTING, wanted, nullptr)
                                      : nullptr;
        done = found == nullptr || CertDeleteCertificateFromStore(found);  // frees `found`
        if (wanted) CertFreeCertificateContext(wanted);
    }
    CertCloseStore(store, 0);
    return done ? 0 : 1;
}
