// Whether a file's digital signature holds, and whose it is, read from the
// file alone: embedded or through the system's catalogs, never from the
// network and never with the trust provider's own windows.
#pragma once

#include <string>

namespace tv {

enum class TrustState {
    kNoFile,    // nothing at the path to judge
    kUnsigned,  // neither an embedded signature nor a catalog names it
    kVerified,  // the signature holds and its chain ends in a trusted root
    kInvalid,   // bad signature, untrusted root, expired untimestamped, revoked
};

struct TrustVerdict {
    TrustState state = TrustState::kNoFile;
    // The signer's name from the verified certificate (its simple display
    // name); empty unless verified.
    std::u16string signer;
    // Signed by the publisher of the operating system's own files, judged by
    // the certificate and its Microsoft root, never by any text in the file.
    bool windowsPublisher = false;
};

class TrustVerifier {
public:
    virtual ~TrustVerifier() = default;
    // Reads the file only; may take long (catalog search): call it off the
    // window's thread. Safe to call from several threads.
    virtual TrustVerdict Verify(const std::u16string& path) = 0;
};

}  // namespace tv
