// Addresses and programs go to the user's desktop shell first, so they run
// with the user's rights, not this elevated program's. Only where there is no
// desktop shell to ask are they opened from this process as before.
#pragma once

#include "platform/Shell.h"
#include "platform/UserShell.h"

namespace tv {

class UserFirstShell : public Shell {
public:
    UserFirstShell(UserShell& user, Shell& own) : user_(user), own_(own) {}

    void Open(const std::string& address, int showCommand) override;
    bool Launch(const ShellLaunch& launch) override;
    // Command lines and system tools are always run from this process.
    bool Run(const std::string& commandLine, int showCommand) override;
    bool StartW(const std::u16string& application, const std::u16string& commandLine,
                int showCommand, const ProcessEnvironment* environment = nullptr) override {
        return own_.StartW(application, commandLine, showCommand, environment);
    }
    bool Start(const std::string& application, const std::string& commandLine,
               int showCommand, const ProcessEnvironment* environment = nullptr) override;

private:
    UserShell& user_;
    Shell& own_;
};

}  // namespace tv
