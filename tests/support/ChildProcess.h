// Programs a test runs to set up or read the machine (the registry editor,
// the reg tool), waited for.
#pragma once

#include <string>

namespace tv::testing {

// Runs `command` and waits for it: its exit code, or -1 when it could not
// run or did not finish within a minute (it is ended then). `quiet` gives a
// console program no window and no output handles of its own.
long RunAndWait(std::string command, bool quiet = false);

}  // namespace tv::testing
