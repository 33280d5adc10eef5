#include "tweaks/BrowserLaunch.h"

#include <string>

namespace tv {

std::optional<ShellLaunch> BrowserWithoutAddons(const Environment& environment) {
    std::string programFiles;
    if (!environment.Variable("ProgramFiles", &programFiles) || programFiles.empty())
        return std::nullopt;
    ShellLaunch launch;
    launch.file = programFiles + "\\Internet Explorer\\iexplore.exe";
    launch.parameters = " -extoff";
    launch.showCommand = kSwShowMaximized;
    return launch;
}

bool StartBrowserWithoutAddons(const Environment& environment, Shell& shell) {
    std::optional<ShellLaunch> launch = BrowserWithoutAddons(environment);
    return launch && shell.Launch(*launch);
}

}  // namespace tv
