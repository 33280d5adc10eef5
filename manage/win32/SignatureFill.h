// Verifying the files of a list off the window's thread, file by file: what
// is verified comes back on each hand-off while the rest is still under
// way, so the signature column fills as results come.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/TrustVerifier.h"
#include "platform/ui/Gathering.h"

namespace tv {

class SignatureFill {
public:
    using Verify = std::function<TrustVerdict(const std::u16string& file)>;
    using Verdicts = std::vector<std::pair<std::u16string, TrustVerdict>>;

    // Drops a fill under way (its later results are never taken), then
    // verifies `files` in order on a thread of its own.
    void Start(std::vector<std::u16string> files, Verify verify);
    // Stops the fill between two files; nothing more is taken.
    void Stop();
    // What was verified since the last Take.
    Verdicts Take();
    bool Pending() const { return run_.Pending(); }

private:
    struct Arrived {
        std::mutex mutex;
        Verdicts verdicts;
    };
    std::shared_ptr<Arrived> arrived_;
    ui::Gathering<bool> run_;
};

}  // namespace tv
