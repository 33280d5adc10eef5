#include "platform/win32/Win32WorkerThreads.h"

#include <utility>

#include "platform/win32/BackgroundThreads.h"

namespace tv {

bool Win32WorkerThreads::Start(std::function<void()> work) {
    return StartBackgroundThread(std::move(work));
}

}  // namespace tv
