#include "platform/win32/Win32TrustVerifier.h"

#include <windows.h>
#include <wincrypt.h>
#include <wintrust.h>
#include <softpub.h>
#include <mscat.h>

#include <string>
#include <vector>

#include "platform/UniqueHandle.h"
#include "platform/win32/NativePaths.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/SystemLibrary.h"

namespace tv {

namespace {

// wintrust and crypt32 are no KnownDLLs: taken from the system directory
// at run time, never from beside the program.
struct TrustApi {
    decltype(&WinVerifyTrust) verify = nullptr;
    decltype(&WTHelperProvDataFromStateData) providerData = nullptr;
    decltype(&WTHelperGetProvSignerFromChain) signer = nullptr;
    decltype(&WTHelperGetProvCertFromChain) certificate = nullptr;
    decltype(&CryptCATAdminAcquireContext) acquireAdmin = nullptr;
    decltype(&CryptCATAdminReleaseContext) releaseAdmin = nullptr;
    decltype(&CryptCATAdminCalcHashFromFileHandle) hashFile = nullptr;
    decltype(&CryptCATAdminEnumCatalogFromHash) catalogOf = nullptr;
    decltype(&CryptCATAdminReleaseCatalogContext) releaseCatalog = nullptr;
    decltype(&CryptCATCatalogInfoFromContext) catalogInfo = nullptr;
    decltype(&CertGetNameStringW) nameOf = nullptr;
    decltype(&CertVerifyCertificateChainPolicy) chainPolicy = nullptr;

    bool Complete() const {
        return verify && providerData && signer && certificate && acquireAdmin && releaseAdmin &&
               hashFile && catalogOf && releaseCatalog && catalogInfo && nameOf && chainPolicy;
    }
};

const TrustApi& Api() {
    static const TrustApi api = [] {
        TrustApi a;
        const char* trust = "wintrust.dll";
        const char* crypt = "crypt32.dll";
        a.verify = SystemFunctionAs<decltype(a.verify)>(trust, "WinVerifyTrust");
        a.providerData =
            SystemFunctionAs<decltype(a.providerData)>(trust, "WTHelperProvDataFromStateData");
        a.signer = SystemFunctionAs<decltype(a.signer)>(trust, "WTHelperGetProvSignerFromChain");
        a.certificate = SystemFunctionAs<decltype(a.certificate)>(trust, "WTHelperGetProvCertFromChain");
        a.acquireAdmin = SystemFunctionAs<decltype(a.acquireAdmin)>(trust, "CryptCATAdminAcquireContext");
        a.releaseAdmin = SystemFunctionAs<decltype(a.releaseAdmin)>(trust, "CryptCATAdminReleaseContext");
        a.hashFile =
            SystemFunctionAs<decltype(a.hashFile)>(trust, "CryptCATAdminCalcHashFromFileHandle");
        a.catalogOf = SystemFunctionAs<decltype(a.catalogOf)>(trust, "CryptCATAdminEnumCatalogFromHash");
        a.releaseCatalog =
            SystemFunctionAs<decltype(a.releaseCatalog)>(trust, "CryptCATAdminReleaseCatalogContext");
        a.catalogInfo = SystemFunctionAs<decltype(a.catalogInfo)>(trust, "CryptCATCatalogInfoFromContext");
        a.nameOf = SystemFunctionAs<decltype(a.nameOf)>(crypt, "CertGetNameStringW");
        a.chainPolicy = SystemFunctionAs<decltype(a.chainPolicy)>(crypt, "CertVerifyCertificateChainPolicy");
        return a;
    }();
    return api;
}

struct CatalogAdminTraits {
    static HCATADMIN Empty() { return nullptr; }
    static bool IsValid(HCATADMIN admin) { return admin != nullptr; }
    static void Close(HCATADMIN admin) { Api().releaseAdmin(admin, 0); }
};
using CatalogAdmin = UniqueHandle<HCATADMIN, CatalogAdminTraits>;

// A catalog found for a hash, released through the administrator context
// that found it.
class CatalogContext {
public:
    CatalogContext(HCATADMIN admin, HCATINFO info) : admin_(admin), info_(info) {}
    ~CatalogContext() {
        if (info_) Api().releaseCatalog(admin_, info_, 0);
    }
    CatalogContext(const CatalogContext&) = delete;
    CatalogContext& operator=(const CatalogContext&) = delete;
    HCATINFO Get() const { return info_; }

private:
    HCATADMIN admin_;
    HCATINFO info_;
};

// The status codes that say there is nothing to verify in the file itself
// (no signature, or a kind of file without embedded ones): the catalogs may
// still list it.
bool NoEmbeddedSignature(LONG status) {
    return status == static_cast<LONG>(TRUST_E_NOSIGNATURE) ||
           status == static_cast<LONG>(TRUST_E_SUBJECT_FORM_UNKNOWN) ||
           status == static_cast<LONG>(TRUST_E_PROVIDER_UNKNOWN);
}

// Revocation could not be judged from what the system has: that alone does
// not make a signature bad.
bool RevocationUnknown(LONG status) {
    return status == static_cast<LONG>(CERT_E_REVOCATION_FAILURE) ||
           status == static_cast<LONG>(CRYPT_E_REVOCATION_OFFLINE) ||
           status == static_cast<LONG>(CRYPT_E_NO_REVOCATION_CHECK);
}

// Chain errors a verified signature may carry: revocation not known offline.
// Any other (an untrusted root, a partial chain, a time or usage error) makes
// it invalid, also where the provider itself let it pass.
constexpr DWORD kToleratedChainErrors =
    CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION;

// The publisher names of the operating system's own files: "Microsoft
// Windows" signs Windows 7's catalogs, "Microsoft Windows Publisher" later
// components of the system.
bool WindowsPublisherName(const std::wstring& name) {
    return name == L"Microsoft Windows" || name == L"Microsoft Windows Publisher";
}

bool EndsInMicrosoftRoot(PCCERT_CHAIN_CONTEXT chain) {
    CERT_CHAIN_POLICY_PARA para{};
    para.cbSize = sizeof(para);
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof(status);
    return Api().chainPolicy(CERT_CHAIN_POLICY_MICROSOFT_ROOT, chain, &para, &status) &&
           status.dwError == 0;
}

std::wstring SimpleName(PCCERT_CONTEXT certificate) {
    DWORD length = Api().nameOf(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nullptr, 0);
    if (length <= 1) return {};
    std::wstring name(length, L'\0');
    length = Api().nameOf(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, &name[0], length);
    name.resize(length > 0 ? length - 1 : 0);
    return name;
}

std::u16string ToU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

// One verification by the trust provider, its state always closed again.
class TrustSession {
public:
    // The file itself; its path is given for the provider's own use only.
    TrustSession(HANDLE file, const wchar_t* path) {
        file_.cbStruct = sizeof(file_);
        file_.pcwszFilePath = path;
        file_.hFile = file;
        data_.dwUnionChoice = WTD_CHOICE_FILE;
        data_.pFile = &file_;
    }
    // A member of a catalog, by the hash the administrator context computed
    // (SHA-1 on Windows 7, which needs no context passed with it).
    TrustSession(HANDLE file, const wchar_t* path, const wchar_t* catalogPath,
                 const wchar_t* memberTag, std::vector<BYTE>* hash) {
        catalog_.cbStruct = sizeof(catalog_);
        catalog_.pcwszCatalogFilePath = catalogPath;
        catalog_.pcwszMemberTag = memberTag;
        catalog_.pcwszMemberFilePath = path;
        catalog_.hMemberFile = file;
        catalog_.pbCalculatedFileHash = hash->data();
        catalog_.cbCalculatedFileHash = static_cast<DWORD>(hash->size());
        data_.dwUnionChoice = WTD_CHOICE_CATALOG;
        data_.pCatalog = &catalog_;
    }
    ~TrustSession() {
        if (!verified_) return;
        data_.dwStateAction = WTD_STATEACTION_CLOSE;
        Api().verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action_, &data_);
    }
    TrustSession(const TrustSession&) = delete;
    TrustSession& operator=(const TrustSession&) = delete;

    LONG Verify(HANDLE file, bool revocation) {
        data_.cbStruct = sizeof(data_);
        data_.dwUIChoice = WTD_UI_NONE;
        data_.fdwRevocationChecks = revocation ? WTD_REVOKE_WHOLECHAIN : WTD_REVOKE_NONE;
        data_.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL |
                            (revocation ? WTD_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT
                                        : WTD_REVOCATION_CHECK_NONE);
        data_.dwStateAction = WTD_STATEACTION_VERIFY;
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        verified_ = true;
        return Api().verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action_, &data_);
    }

    // The verdict on a status the provider gave this session.
    TrustVerdict Judge(LONG status) const {
        TrustVerdict verdict;
        verdict.state = TrustState::kInvalid;
        if (status != 0) return verdict;
        CRYPT_PROVIDER_DATA* provider = Api().providerData(data_.hWVTStateData);
        CRYPT_PROVIDER_SGNR* signer =
            provider != nullptr ? Api().signer(provider, 0, FALSE, 0) : nullptr;
        if (signer == nullptr) return verdict;
        PCCERT_CHAIN_CONTEXT chain = signer->pChainContext;
        if (chain != nullptr && (chain->TrustStatus.dwErrorStatus & ~kToleratedChainErrors) != 0)
            return verdict;
        CRYPT_PROVIDER_CERT* leaf = Api().certificate(signer, 0);
        if (leaf == nullptr || leaf->pCert == nullptr) return verdict;
        const std::wstring name = SimpleName(leaf->pCert);
        verdict.state = TrustState::kVerified;
        verdict.signer = ToU16(name);
        verdict.windowsPublisher =
            chain != nullptr && WindowsPublisherName(name) && EndsInMicrosoftRoot(chain);
        return verdict;
    }

private:
    GUID action_ = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    WINTRUST_FILE_INFO file_{};
    WINTRUST_CATALOG_INFO catalog_{};
    WINTRUST_DATA data_{};
    bool verified_ = false;
};

// Verifies with revocation checked from the system's cache; where that
// cannot say, once more without it.
template <typename... Subject>
TrustVerdict Check(HANDLE file, LONG* status, Subject... subject) {
    for (bool revocation : {true, false}) {
        TrustSession session(file, subject...);
        *status = session.Verify(file, revocation);
        if (revocation && RevocationUnknown(*status)) continue;
        return session.Judge(*status);
    }
    return {};
}

std::wstring HexOf(const std::vector<BYTE>& bytes) {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring hex;
    for (BYTE b : bytes) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 0xF];
    }
    return hex;
}

// The verdict of the first system catalog that lists the file's hash; none
// when no catalog does.
bool CheckCatalog(HANDLE file, const wchar_t* path, TrustVerdict* verdict) {
    const TrustApi& api = Api();
    GUID subsystem = DRIVER_ACTION_VERIFY;
    HCATADMIN acquired = nullptr;
    if (!api.acquireAdmin(&acquired, &subsystem, 0)) return false;
    CatalogAdmin admin(acquired);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    DWORD size = 0;
    api.hashFile(file, &size, nullptr, 0);
    if (size == 0 || size > 64) return false;  // SHA-1 on Windows 7; never more than SHA-512
    std::vector<BYTE> hash(size);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    if (!api.hashFile(file, &size, hash.data(), 0) || size != hash.size()) return false;
    CatalogContext found(admin.Get(),
                         api.catalogOf(admin.Get(), hash.data(), size, 0, nullptr));
    if (found.Get() == nullptr) return false;
    CATALOG_INFO info{};
    info.cbStruct = sizeof(info);
    if (!api.catalogInfo(found.Get(), &info, 0)) return false;
    info.wszCatalogFile[MAX_PATH - 1] = L'\0';
    const std::wstring tag = HexOf(hash);
    LONG status = 0;
    *verdict = Check(file, &status, path, static_cast<const wchar_t*>(info.wszCatalogFile),
                     tag.c_str(), &hash);
    return true;
}

// Only a file on a local drive by its full path: never a share, a device or
// a network drive, which reading would reach over the network.
bool LocalFilePath(const std::wstring& path) {
    if (path.size() < 4 || path[1] != L':' || path[2] != L'\\') return false;
    const wchar_t letter = path[0] & ~0x20;
    if (letter < L'A' || letter > L'Z') return false;
    const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
    const UINT type = GetDriveTypeW(root);
    return type != DRIVE_REMOTE && type != DRIVE_NO_ROOT_DIR && type != DRIVE_UNKNOWN;
}

}  // namespace

TrustVerdict Win32TrustVerifier::Verify(const std::u16string& path) {
    const std::wstring given(path.begin(), path.end());
    if (given.find(L'\0') != std::wstring::npos || !LocalFilePath(given) || !Api().Complete())
        return {};
    const std::wstring opened = NativePath(given);
    // Read access only; sharing everything, so a running program's file
    // opens too. A folder does not open without backup semantics.
    ScopedHandle file(CreateFileW(opened.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file || GetFileType(file.Get()) != FILE_TYPE_DISK) return {};
    LONG status = 0;
    TrustVerdict verdict = Check(file.Get(), &status, opened.c_str());
    if (!NoEmbeddedSignature(status)) return verdict;
    if (CheckCatalog(file.Get(), opened.c_str(), &verdict)) return verdict;
    verdict = TrustVerdict{};
    verdict.state = TrustState::kUnsigned;
    return verdict;
}

}  // namespace tv
