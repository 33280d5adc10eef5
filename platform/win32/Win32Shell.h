#pragma once

#include "platform/Shell.h"

namespace tv {

// ShellExecuteA / ShellExecuteExA with no owner window, WinExec and
// CreateProcessA.
class Win32Shell : public Shell {
public:
    void Open(const std::string& address, int showCommand) override;
    bool Launch(const ShellLaunch& launch) override;
    bool Run(const std::string& commandLine, int showCommand) override;
    bool StartW(const std::u16string& application, const std::u16string& commandLine,
                int showCommand, const ProcessEnvironment* environment = nullptr) override;
    bool Start(const std::string& application, const std::string& commandLine,
               int showCommand, const ProcessEnvironment* environment = nullptr) override;
};

}  // namespace tv
