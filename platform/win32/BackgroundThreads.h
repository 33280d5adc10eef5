// Every thread the program starts beside the user-interface thread, kept so
// that the end of the program can wait for them all at once:
// - a thread started with a stop flag may be cut short: the end sets the
//   flag and waits for it until the deadline;
// - a thread started without one does a thing that must not be cut in the
//   middle: the end waits for it whatever the deadline.
// A thread still running after the wait must not see the statics go: the
// caller then ends the process at once (ExitProcess).
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

namespace tv {

// Runs `work` on a new thread; an exception it lets out ends only the work.
// False when no thread could be started: the work has not run.
bool StartBackgroundThread(std::function<void()> work,
                           std::shared_ptr<std::atomic<bool>> stop = nullptr);

// Sets every stop flag, then waits. True when none still runs. Call it from
// the user-interface thread.
bool EndBackgroundThreads(DWORD milliseconds);

}  // namespace tv
