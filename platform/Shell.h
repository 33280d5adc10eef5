// Opening documents and addresses through the shell (the user's default
// browser or mail program), behind the seam so tests can see what was opened.
#pragma once

#include <string>

namespace tv {

// Show commands, with the values of the Win32 SW_* constants.
constexpr int kSwShowNormal = 1;
constexpr int kSwShowMaximized = 3;
constexpr int kSwShow = 5;

class Shell {
public:
    virtual ~Shell() = default;
    // ShellExecute with no verb. The result is of no interest to callers.
    virtual void Open(const std::string& address, int showCommand) = 0;
};

}  // namespace tv
