// Every thread the program starts beside the user-interface thread, kept so
// that the end of the program can stop them all at once: each is asked to
// stop, then all are waited for once, against one deadline.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

namespace tv {

// Runs `work` on a new thread; an exception it lets out ends only the work.
// `stop`, when given, is set by EndBackgroundThreads. False when no thread
// could be started (the work has not run).
bool StartBackgroundThread(std::function<void()> work,
                           std::shared_ptr<std::atomic<bool>> stop = nullptr);

// Asks every thread started above to stop, then waits for them until
// `milliseconds` have passed, dispatching this thread's messages meanwhile
// (a worker may need this thread to reach a COM object that lives here).
// True when none still runs. Call it from the user-interface thread.
bool EndBackgroundThreads(DWORD milliseconds);

}  // namespace tv
