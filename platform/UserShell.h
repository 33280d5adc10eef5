// Starting through the signed-in user's running desktop shell. This program
// always runs elevated; what the desktop shell starts has the shell's rights,
// so a browser or mail program the user's own associations name never runs
// with this program's rights.
#pragma once

#include "platform/Shell.h"

namespace tv {

class UserShell {
public:
    virtual ~UserShell() = default;
    // The shell's own ShellExecute, asked from its process. False when there
    // is no desktop shell to ask (none running, or a call to it fails): the
    // caller then decides what else to do. True once the shell has taken the
    // request, even where its own start then failed (it reports that as
    // S_FALSE, a success code, and shows any message itself): starting it
    // again from this elevated process would only retry the same
    // association with more rights.
    virtual bool Launch(const ShellLaunch& launch) = 0;
};

}  // namespace tv
