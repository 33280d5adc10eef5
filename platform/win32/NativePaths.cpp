#include "platform/win32/NativePaths.h"

#include <windows.h>

#include "platform/RegistryViews.h"
#include "platform/SystemFolders.h"
#include "platform/win32/Win32SystemProbe.h"

namespace tv {

namespace {

std::string Folder(UINT (WINAPI* get)(LPSTR, UINT)) {
    char buffer[MAX_PATH + 1] = {};
    const UINT length = get(buffer, MAX_PATH);
    return length > 0 && length <= MAX_PATH ? std::string(buffer, length) : std::string();
}

}  // namespace

std::string NativePath(const std::string& path) {
    // The folders and the bitness do not change while the program runs.
    static const SystemFolders folders = [] {
        SystemFolders found;
        found.windows = Folder(GetWindowsDirectoryA);
        found.system = Folder(GetSystemDirectoryA);
        found.system64 = Win32SystemProbe().Is64BitSystem();
        found.program64 = kProgramIs64Bit;
        return found;
    }();
    return NativeSystemPath(folders, path);
}

}  // namespace tv
