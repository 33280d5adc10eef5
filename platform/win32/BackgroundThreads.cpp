#include "platform/win32/BackgroundThreads.h"

#include <utility>
#include <vector>

#include "platform/win32/ScopedHandle.h"

namespace tv {

namespace {

struct Kept {
    ScopedHandle thread;
    std::shared_ptr<std::atomic<bool>> stop;
};

// Touched only by the user-interface thread; never destroyed, so a thread
// that outlives the end cannot find it gone.
std::vector<Kept>& KeptThreads() {
    static auto* threads = new std::vector<Kept>;
    return *threads;
}

DWORD WINAPI RunWork(void* parameter) {
    try {
        std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
        (*work)();
    } catch (...) {
        // What the work would have made is simply not there.
    }
    return 0;
}

}  // namespace

bool StartBackgroundThread(std::function<void()> work, std::shared_ptr<std::atomic<bool>> stop) {
    std::vector<Kept>& threads = KeptThreads();
    for (auto it = threads.begin(); it != threads.end();)
        it = WaitForSingleObject(it->thread.Get(), 0) == WAIT_OBJECT_0 ? threads.erase(it) : it + 1;
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    ScopedHandle thread(CreateThread(nullptr, 0, RunWork, owned.get(), 0, nullptr));
    if (!thread) return false;
    owned.release();  // the thread owns it now
    threads.push_back({std::move(thread), std::move(stop)});
    return true;
}

bool EndBackgroundThreads(DWORD milliseconds) {
    std::vector<Kept>& threads = KeptThreads();
    for (Kept& kept : threads)
        if (kept.stop) kept.stop->store(true);
    const DWORD begin = GetTickCount();
    bool all = true;
    for (Kept& kept : threads) {
        const DWORD waited = GetTickCount() - begin;
        const DWORD left = kept.stop ? (waited < milliseconds ? milliseconds - waited : 0) : INFINITE;
        if (WaitForSingleObject(kept.thread.Get(), left) != WAIT_OBJECT_0) all = false;
    }
    if (all) threads.clear();
    return all;
}

}  // namespace tv
