#include "platform/SystemFolders.h"

#include "platform/CodePageText.h"
#include "platform/Environment.h"
#include "platform/RegistryViews.h"
#include "platform/SystemProbe.h"

namespace tv {

SystemFolders SystemFoldersOf(const Platform& platform) {
    SystemFolders folders;
    folders.windows = platform.environment->WindowsDirectory();
    folders.system = platform.environment->SystemDirectory();
    folders.system64 = platform.system->Is64BitSystem();
    folders.program64 = kProgramIs64Bit;
    return folders;
}

std::string NativeSystemPath(const SystemFolders& folders, const std::string& path) {
    if (!folders.system64 || folders.program64 || folders.system.empty() ||
        folders.windows.empty())
        return path;
    const std::string prefix = folders.system + "\\";
    if (!text::StartsWithNoCase(path, prefix) && !text::EqualsNoCase(path, folders.system))
        return path;
    const std::string rest = path.size() > folders.system.size() ? path.substr(folders.system.size())
                                                                 : std::string();
    return folders.windows + "\\Sysnative" + rest;
}

}  // namespace tv
