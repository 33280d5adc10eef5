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

std::wstring NativePath(const std::wstring& path) {
    struct Folders {
        std::wstring windows;
        std::wstring system;
        bool redirected = false;
    };
    static const Folders folders = [] {
        Folders found;
        wchar_t buffer[MAX_PATH + 1] = {};
        UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
        if (length > 0 && length <= MAX_PATH) found.windows.assign(buffer, length);
        length = GetSystemDirectoryW(buffer, MAX_PATH);
        if (length > 0 && length <= MAX_PATH) found.system.assign(buffer, length);
        found.redirected = !kProgramIs64Bit && Win32SystemProbe().Is64BitSystem() &&
                           !found.windows.empty() && !found.system.empty();
        return found;
    }();
    const std::size_t size = folders.system.size();
    if (!folders.redirected || path.size() < size || (path.size() > size && path[size] != L'\\') ||
        CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(), static_cast<int>(size),
                       folders.system.c_str(), static_cast<int>(size)) != CSTR_EQUAL)
        return path;
    return folders.windows + L"\\Sysnative" + path.substr(size);
}

}  // namespace tv
