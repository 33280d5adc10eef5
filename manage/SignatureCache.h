// Trust verdicts kept while the program runs, so a list refreshed again does
// not verify its files again. A verdict holds for the file as it was: a path
// whose size or last write time has changed since is verified anew.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/TrustVerifier.h"

namespace tv {

class SignatureCache {
public:
    SignatureCache(TrustVerifier& verifier, FileSystem& files);
    SignatureCache(const SignatureCache&) = delete;
    SignatureCache& operator=(const SignatureCache&) = delete;

    // The verdict kept for the file as it is now; none when it was never
    // verified, has changed since, or is missing. Reads the file's stamp
    // only, never its contents.
    std::optional<TrustVerdict> Cached(const std::u16string& path) const;
    // The kept verdict, or the verifier's, then kept. Safe from several
    // threads; calls for one unchanged file at once verify it once. A path
    // with no file to stamp is passed to the verifier each time, not kept.
    TrustVerdict Verify(const std::u16string& path);

private:
    struct Entry {
        FileStamp stamp;
        TrustVerdict verdict;
        bool pending = true;  // a thread is verifying it
    };

    TrustVerifier& verifier_;
    FileSystem& files_;
    mutable std::mutex mutex_;
    std::condition_variable settled_;
    // By path with ASCII letters folded, as the system compares names.
    std::map<std::u16string, Entry> entries_;
};

}  // namespace tv
