#include "platform/win32/BackgroundThreads.h"

#include <algorithm>
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
// that outlives the end cannot see it go.
std::vector<Kept>& threads = *new std::vector<Kept>;

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
    threads.erase(std::remove_if(threads.begin(), threads.end(), [](const Kept& kept) {
        return WaitForSingleObject(kept.thread.Get(), 0) == WAIT_OBJECT_0;
    }), threads.end());
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    ScopedHandle thread(CreateThread(nullptr, 0, RunWork, owned.get(), 0, nullptr));
    if (!thread) return false;
    owned.release();  // the thread owns it now
    threads.push_back({std::move(thread), std::move(stop)});
    return true;
}

bool EndBackgroundThreads(DWORD milliseconds) {
    for (Kept& kept : threads)
        if (kept.stop) kept.stop->store(true);
    const DWORD begin = GetTickCount();
    bool all = true;
    for (Kept& kept : threads) {
        const DWORD waited = GetTickCount() - begin;
        const DWORD left = !kept.stop ? INFINITE : waited < milliseconds ? milliseconds - waited : 0;
        all = WaitForSingleObject(kept.thread.Get(), left) == WAIT_OBJECT_0 && all;
    }
    if (all) threads.clear();
    return all;
}

}  // namespace tv
