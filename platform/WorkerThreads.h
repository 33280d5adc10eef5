// Short-lived background work started from the user-interface thread.
#pragma once

#include <functional>

namespace tv {

class WorkerThreads {
public:
    virtual ~WorkerThreads() = default;
    // Runs `work` on a new thread at once; the caller neither waits for it
    // nor keeps it. False when no thread could be started.
    virtual bool Start(std::function<void()> work) = 0;
};

}  // namespace tv
