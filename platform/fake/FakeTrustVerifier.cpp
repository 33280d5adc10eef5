#include "platform/fake/FakeTrustVerifier.h"

#include "platform/WideText.h"

namespace tv {

FakeTrustVerifier& FakeTrustVerifier::operator=(const FakeTrustVerifier& other) {
    if (this == &other) return *this;
    std::scoped_lock lock(mutex_, other.mutex_);
    files_ = other.files_;
    calls_ = other.calls_;
    total_ = other.total_;
    return *this;
}

TrustVerdict FakeTrustVerifier::Verify(const std::u16string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::u16string key = utf16::FoldAscii(path);
    ++total_;
    ++calls_[key];
    TrustVerdict verdict;
    auto it = files_.find(key);
    if (it == files_.end()) return verdict;
    const File& file = it->second;
    verdict.state = file.state;
    if (file.state == TrustState::kVerified && !file.trustedRoot) verdict.state = TrustState::kInvalid;
    if (verdict.state == TrustState::kVerified) {
        verdict.signer = file.signer;
        verdict.windowsPublisher = file.windowsPublisher;
    }
    return verdict;
}

void FakeTrustVerifier::AddSigned(const std::u16string& path, const std::u16string& signer,
                                  bool windowsPublisher, bool trustedRoot) {
    std::lock_guard<std::mutex> lock(mutex_);
    files_[utf16::FoldAscii(path)] = File{TrustState::kVerified, signer, windowsPublisher, trustedRoot};
}

void FakeTrustVerifier::AddUnsigned(const std::u16string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    files_[utf16::FoldAscii(path)] = File{TrustState::kUnsigned, {}, false, true};
}

void FakeTrustVerifier::AddInvalid(const std::u16string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    files_[utf16::FoldAscii(path)] = File{TrustState::kInvalid, {}, false, true};
}

int FakeTrustVerifier::Calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return total_;
}

int FakeTrustVerifier::Calls(const std::u16string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = calls_.find(utf16::FoldAscii(path));
    return it == calls_.end() ? 0 : it->second;
}

}  // namespace tv
