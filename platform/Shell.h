// Starting programs and opening documents and addresses through the shell
// (the user's default browser or mail program), behind the seam so tests can
// see exactly what was started.
#pragma once

#include <string>
#include <vector>

namespace tv {

// Show commands, with the values of the Win32 SW_* constants.
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShowMaximized = 3;
constexpr int kSwShow = 5;

// The variables a started program gets, each "NAME=value", in this order.
using ProcessEnvironment = std::vector<std::u16string>;

// ShellExecuteEx with no owner window: what to start and how.
struct ShellLaunch {
    std::string verb;  // empty: the default action
    std::string file;
    std::string parameters;
    std::string directory;
    int showCommand = kSwShowNormal;
};

class Shell {
public:
    virtual ~Shell() = default;
    // ShellExecute with no verb. The result is of no interest to callers.
    virtual void Open(const std::string& address, int showCommand) = 0;
    // ShellExecuteEx; true when the program was started.
    virtual bool Launch(const ShellLaunch& launch) = 0;
    // WinExec: a command line, started and not waited for; true when started.
    virtual bool Run(const std::string& commandLine, int showCommand) = 0;
    // CreateProcess of exactly `application` (a full path: never searched
    // for, never taken from the command line), handed `commandLine` as it
    // is, nothing inherited, started in the application's folder and not
    // waited for; true when started. With `environment`, the program gets
    // exactly those variables instead of this process's own (false, and
    // nothing started, when one of them cannot stand in an environment
    // block).
    virtual bool Start(const std::string& application, const std::string& commandLine,
                       int showCommand, const ProcessEnvironment* environment = nullptr) = 0;
    // The same with UTF-16 texts, for a command that names a file the code
    // page cannot hold.
    virtual bool StartW(const std::u16string& application, const std::u16string& commandLine,
                        int showCommand, const ProcessEnvironment* environment = nullptr) = 0;
};

}  // namespace tv
