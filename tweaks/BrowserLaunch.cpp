#include "tweaks/BrowserLaunch.h"

#include <string>

namespace tv {

namespace {

// "X:\..." or "\\server\...": a path that names one place whatever the
// current drive and directory are.
bool IsFullPath(const std::string& path) {
    bool letter = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') ||
                                       (path[0] >= 'a' && path[0] <= 'z'));
    bool drive = letter && path[1] == ':' && path[2] == '\\';
    return drive || path.compare(0, 2, "\\\\") == 0;
}

}  // namespace

std::optional<ShellLaunch> BrowserWithoutAddons(const Environment& environment) {
    std::string programFiles;
    // A relative directory would be looked up from wherever this program
    // was started, where anyone may have put a program of that name.
    if (!environment.Variable("ProgramFiles", &programFiles) || !IsFullPath(programFiles))
        return std::nullopt;
    ShellLaunch launch;
    launch.file = "\"" + programFiles + "\\Internet Explorer\\iexplore.exe\"";
    launch.parameters = " -extoff";
    launch.showCommand = kSwShowMaximized;
    return launch;
}

bool StartBrowserWithoutAddons(const Environment& environment, Shell& shell) {
    std::optional<ShellLaunch> launch = BrowserWithoutAddons(environment);
    return launch && shell.Launch(*launch);
}

}  // namespace tv
