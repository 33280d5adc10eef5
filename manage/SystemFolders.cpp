#include "manage/SystemFolders.h"

#include "platform/CodePageText.h"
#include "platform/Environment.h"
#include "platform/RegistryViews.h"
#include "platform/SystemProbe.h"

namespace tv {

SystemFolders SystemFoldersOf(const Platform& platform) {
    SystemFolders folders;
    if (platform.environment != nullptr) {
        folders.windows = platform.environment->WindowsDirectory();
        folders.system = platform.environment->SystemDirectory();
    }
    folders.system64 = platform.system != nullptr && platform.system->Is64BitSystem();
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

std::string UnregisterCommand(const SystemFolders& folders, std::uint32_t classView,
                              const std::string& file) {
    std::string tool;
    if (folders.system64 && (classView & kKeyWow64_32Key) != 0) {
        if (folders.windows.empty()) return {};
        tool = folders.windows + "\\SysWOW64\\regsvr32.exe";
    } else {
        if (folders.system.empty()) return {};
        tool = NativeSystemPath(folders, folders.system + "\\regsvr32.exe");
    }
    std::string command = "\"" + tool + "\" /u /s ";
    // Nothing to quote in an empty path, and a quoted one stays as it is.
    if (file.empty() || file.front() == '"') return command + file;
    return command + "\"" + file + "\"";
}

}  // namespace tv
