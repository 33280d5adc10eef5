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

// Touched only by the user-interface thread, never by a worker, so the
// workers may outlive it.
std::vector<Kept>& KeptThreads() {
    static std::vector<Kept> threads;
    return threads;
}

DWORD WINAPI RunWork(void* parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    try {
        (*work)();
    } catch (...) {
        // What the work would have made is simply not there.
    }
    return 0;
}

}  // namespace

bool StartBackgroundThread(std::function<void()> work, std::shared_ptr<std::atomic<bool>> stop) {
    std::vector<Kept>& threads = KeptThreads();
    // Forget threads that have ended.
    for (auto it = threads.begin(); it != threads.end();) {
        if (WaitForSingleObject(it->thread.Get(), 0) == WAIT_OBJECT_0)
            it = threads.erase(it);
        else
            ++it;
    }
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
    bool quit = false;
    WPARAM quitCode = 0;
    const auto ended = [&](bool none) {
        // A quit request met here is left for the loop that ends the program.
        if (quit) PostQuitMessage(static_cast<int>(quitCode));
        return none;
    };
    for (;;) {
        std::vector<HANDLE> running;
        for (auto it = threads.begin(); it != threads.end();) {
            if (WaitForSingleObject(it->thread.Get(), 0) == WAIT_OBJECT_0) {
                it = threads.erase(it);
            } else {
                running.push_back(it->thread.Get());
                ++it;
            }
        }
        if (running.empty()) return ended(true);
        const DWORD waited = GetTickCount() - begin;
        if (waited >= milliseconds) return ended(false);
        if (running.size() >= MAXIMUM_WAIT_OBJECTS) running.resize(MAXIMUM_WAIT_OBJECTS - 1);
        MsgWaitForMultipleObjects(static_cast<DWORD>(running.size()), running.data(), FALSE,
                                  milliseconds - waited, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = message.wParam;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

}  // namespace tv
