#include "manage/SignatureCache.h"

#include "platform/WideText.h"

namespace tv {

SignatureCache::SignatureCache(TrustVerifier& verifier, FileSystem& files)
    : verifier_(verifier), files_(files) {}

std::optional<TrustVerdict> SignatureCache::Cached(const std::u16string& path) const {
    FileStamp stamp;
    if (!files_.FileStampW(path, &stamp)) return std::nullopt;
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = entries_.find(utf16::FoldAscii(path));
    if (it == entries_.end() || it->second.pending || it->second.stamp != stamp) return std::nullopt;
    return it->second.verdict;
}

TrustVerdict SignatureCache::Verify(const std::u16string& path) {
    // The stamp is read before the file is verified: a change made during
    // the verification leaves a verdict under the older stamp, which the
    // next call sees as changed.
    FileStamp stamp;
    if (!files_.FileStampW(path, &stamp)) return verifier_.Verify(path);
    const std::u16string key = utf16::FoldAscii(path);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        auto it = entries_.find(key);
        if (it == entries_.end() || it->second.stamp != stamp) break;
        if (!it->second.pending) return it->second.verdict;
        settled_.wait(lock);
    }
    entries_[key] = Entry{stamp, TrustVerdict{}, true};
    lock.unlock();
    const TrustVerdict verdict = verifier_.Verify(path);
    lock.lock();
    // Another thread may have found the file changed meanwhile and put its
    // own stamp there: that one keeps its place.
    Entry& entry = entries_[key];
    if (entry.stamp == stamp) {
        entry.verdict = verdict;
        entry.pending = false;
    }
    settled_.notify_all();
    return verdict;
}

}  // namespace tv
