#include "platform/win32/Win32WorkerThreads.h"

#include <windows.h>

#include <memory>

namespace tv {

namespace {

// A worker ends on its own within seconds; this bounds the wait at exit.
constexpr DWORD kExitWaitMs = 10000;

DWORD WINAPI RunWork(void* parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    (*work)();
    return 0;
}

}  // namespace

Win32WorkerThreads::~Win32WorkerThreads() {
    for (ScopedHandle& thread : threads_) WaitForSingleObject(thread.Get(), kExitWaitMs);
}

bool Win32WorkerThreads::Start(std::function<void()> work) {
    // Forget workers that have finished.
    for (auto it = threads_.begin(); it != threads_.end();) {
        if (WaitForSingleObject(it->Get(), 0) == WAIT_OBJECT_0)
            it = threads_.erase(it);
        else
            ++it;
    }
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    ScopedHandle thread(CreateThread(nullptr, 0, RunWork, owned.get(), 0, nullptr));
    if (!thread) return false;
    owned.release();  // the thread owns it now
    threads_.push_back(std::move(thread));
    return true;
}

}  // namespace tv
