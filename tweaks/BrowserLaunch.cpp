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
    // The system's folder, not the variable of that name: whoever starts this
    // program chooses its variables. On 64-bit Windows a 32-bit build is
    // given "Program Files (x86)", as the variable was in a 32-bit process:
    // the 32-bit browser, the one 64-bit Windows 7 starts by default. A
    // relative folder would be looked up from wherever this program started.
    const std::string programFiles = environment.ProgramFilesFolder();
    if (!IsFullPath(programFiles)) return std::nullopt;
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
