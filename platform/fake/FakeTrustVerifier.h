// Signatures a test gives to file paths, judged as Windows 7 judges them: a
// signature whose chain ends in a root the machine does not trust is
// invalid. A path given nothing has no file. Counts verifications; safe from
// several threads, as the real verifier is.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "platform/TrustVerifier.h"

namespace tv {

class FakeTrustVerifier : public TrustVerifier {
public:
    FakeTrustVerifier() = default;
    // Takes the other's files and counts (test bundles are assigned afresh).
    FakeTrustVerifier(const FakeTrustVerifier& other) { *this = other; }
    FakeTrustVerifier& operator=(const FakeTrustVerifier& other);

    TrustVerdict Verify(const std::u16string& path) override;

    // A file signed by `signer`, its certificate the operating system's
    // own publisher's or not, its chain ending in a trusted root or not.
    void AddSigned(const std::u16string& path, const std::u16string& signer,
                   bool windowsPublisher = false, bool trustedRoot = true);
    // A file with neither an embedded signature nor a catalog naming it.
    void AddUnsigned(const std::u16string& path);
    // A file whose signature does not hold (its contents changed since,
    // revoked, expired without a timestamp).
    void AddInvalid(const std::u16string& path);

    // How many times Verify was called, for any path or for this one (by
    // its case-insensitive spelling).
    int Calls() const;
    int Calls(const std::u16string& path) const;

private:
    struct File {
        TrustState state = TrustState::kUnsigned;
        std::u16string signer;
        bool windowsPublisher = false;
        bool trustedRoot = true;
    };

    mutable std::mutex mutex_;
    std::map<std::u16string, File> files_;  // by folded path
    std::map<std::u16string, int> calls_;   // by folded path
    int total_ = 0;
};

}  // namespace tv
