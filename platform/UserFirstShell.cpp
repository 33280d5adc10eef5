#include "platform/UserFirstShell.h"

namespace tv {

void UserFirstShell::Open(const std::string& address, int showCommand) {
    ShellLaunch launch;
    launch.file = address;
    launch.showCommand = showCommand;
    if (!user_.Launch(launch)) own_.Open(address, showCommand);
}

bool UserFirstShell::Launch(const ShellLaunch& launch) {
    return user_.Launch(launch) || own_.Launch(launch);
}

bool UserFirstShell::Run(const std::string& commandLine, int showCommand) {
    return own_.Run(commandLine, showCommand);
}

bool UserFirstShell::Start(const std::string& application, const std::string& commandLine,
                           int showCommand, const ProcessEnvironment* environment) {
    return own_.Start(application, commandLine, showCommand, environment);
}

}  // namespace tv
