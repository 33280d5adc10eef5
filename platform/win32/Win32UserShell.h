// UserShell over the running desktop shell's automation objects: its
// IShellDispatch2::ShellExecute runs in the shell's process.
#pragma once

#include "platform/UserShell.h"

namespace tv {

class Win32UserShell : public UserShell {
public:
    bool Launch(const ShellLaunch& launch) override;
};

}  // namespace tv
