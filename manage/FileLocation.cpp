#include "manage/FileLocation.h"

#include "platform/CodePageText.h"

namespace tv {

bool HasFileLocation(const std::string& file) {
    if (text::FindChar(file, '"') != text::npos) return false;
    const bool letter = file.size() >= 4 && ((file[0] >= 'A' && file[0] <= 'Z') ||
                                             (file[0] >= 'a' && file[0] <= 'z'));
    if (letter && file[1] == ':' && file[2] == '\\') return true;
    // A share's server name, then something on it.
    return file.size() >= 5 && file.compare(0, 2, "\\\\") == 0 && file[2] != '\\' &&
           text::FindChar(file, '\\', 3) != text::npos;
}

ShellLaunch ExplorerAtFile(const std::string& windowsFolder, const std::string& file) {
    ShellLaunch launch;
    launch.file = windowsFolder.empty() ? std::string("explorer.exe") : windowsFolder + "\\explorer.exe";
    launch.parameters = "/select,\"" + file + "\"";
    launch.showCommand = kSwShowNormal;
    return launch;
}

}  // namespace tv
