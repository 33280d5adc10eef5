// WorkerThreads over the program's background threads: the end of the
// program waits for them with every other thread (EndBackgroundThreads).
#pragma once

#include "platform/WorkerThreads.h"

namespace tv {

class Win32WorkerThreads : public WorkerThreads {
public:
    bool Start(std::function<void()> work) override;
};

}  // namespace tv
