// Addresses, documents and programs the user's associations choose are
// handed to the user's desktop shell only, so they run with the user's
// rights, never with this elevated program's. Where the desktop shell does
// not take one, nothing is started from this process: the user is told what
// to open, and opens it himself.
#pragma once

#include <string>

#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "platform/UserShell.h"

namespace tv {

// The first line of what the user is told; the address, folder, mail
// address or command follows on the next line.
extern const char kShellAddressMessage[];
extern const char kShellMailMessage[];
extern const char kShellFolderMessage[];
extern const char kShellCommandMessage[];

// What the user is told when the desktop shell did not take `address`.
std::string NotOpenedText(const std::string& address);
// ... or did not take `launch`: the command line that would have run.
std::string NotStartedText(const ShellLaunch& launch);

class UserFirstShell : public Shell {
public:
    UserFirstShell(UserShell& user, Shell& own, Prompter& prompter)
        : user_(user), own_(own), prompter_(prompter) {}

    // Both return at once; a refusal is told in a message box later.
    void Open(const std::string& address, int showCommand) override;
    // True: handed to the desktop shell (what it did is told later).
    bool Launch(const ShellLaunch& launch) override;
    // System tools by their full path are run from this process.
    bool Run(const std::string& commandLine, int showCommand) override;
    bool StartW(const std::u16string& application, const std::u16string& commandLine,
                int showCommand, const ProcessEnvironment* environment = nullptr) override {
        return own_.StartW(application, commandLine, showCommand, environment);
    }
    bool Start(const std::string& application, const std::string& commandLine,
               int showCommand, const ProcessEnvironment* environment = nullptr) override;

private:
    void Hand(const ShellLaunch& launch, std::string refusal);

    UserShell& user_;
    Shell& own_;
    Prompter& prompter_;
};

}  // namespace tv
