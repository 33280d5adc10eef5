// WorkerThreads over CreateThread. The program's exit waits for workers
// still running, so none outlives the services it uses.
#pragma once

#include <vector>

#include "platform/WorkerThreads.h"
#include "platform/win32/ScopedHandle.h"

namespace tv {

class Win32WorkerThreads : public WorkerThreads {
public:
    Win32WorkerThreads() = default;
    ~Win32WorkerThreads() override;
    Win32WorkerThreads(const Win32WorkerThreads&) = delete;
    Win32WorkerThreads& operator=(const Win32WorkerThreads&) = delete;

    bool Start(std::function<void()> work) override;

private:
    std::vector<ScopedHandle> threads_;
};

}  // namespace tv
