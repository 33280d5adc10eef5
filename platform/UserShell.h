// Starting through the signed-in user's running desktop shell. This program
// always runs elevated; what the desktop shell starts has the shell's rights,
// so a browser or mail program the user's own associations name never runs
// with this program's rights.
#pragma once

#include <functional>

#include "platform/Shell.h"

namespace tv {

// How long the desktop shell has to take a request before it counts as not
// answering: right after a fresh start its automation objects can take
// several seconds, and the user is told at once instead.
constexpr unsigned kUserShellAnswerMs = 1000;

class UserShell {
public:
    virtual ~UserShell() = default;
    // Hands `launch` to the shell's own ShellExecute, asked from its process,
    // and returns at once; call it from the user-interface thread.
    // `answered` runs once, later, on that thread: true once the shell has
    // taken the request, even where its own start then failed (it reports
    // that as S_FALSE, a success code, and shows any message itself); false
    // when there is no desktop shell to ask (none running, a call to it
    // fails, or it gave no answer within kUserShellAnswerMs). A request
    // answered false is never started later.
    virtual void Launch(const ShellLaunch& launch, std::function<void(bool taken)> answered) = 0;
};

}  // namespace tv
