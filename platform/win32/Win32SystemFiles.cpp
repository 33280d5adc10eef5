#include "platform/win32/Win32SystemFiles.h"

#include <string>
#include <vector>

#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32ProcessTable.h"
#include "platform/win32/Win32TextCodec.h"

namespace tv {

namespace {

// sfc.dll is not one of the DLLs the loader always takes from the system
// directory: by bare name it would be looked for beside this program first,
// where a planted copy would run elevated. Empty when the directory is
// unknown.
std::string SystemLibraryPath(const char* name) {
    char directory[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(directory, length) + "\\" + name;
}

HMODULE LoadSystemLibrary(const char* name) {
    std::string path = SystemLibraryPath(name);
    return path.empty() ? nullptr : LoadLibraryA(path.c_str());
}

}  // namespace

Win32SystemFiles::Win32SystemFiles() : library_(LoadSystemLibrary("sfc.dll")) {
    if (library_)
        isProtected_ = reinterpret_cast<IsFileProtected>(
            reinterpret_cast<void*>(GetProcAddress(library_.Get(), "SfcIsFileProtected")));
}

bool Win32SystemFiles::IsProtected(const std::string& path) {
    if (!isProtected_ || path.empty()) return false;
    const std::wstring wide = WideFromAnsi(path);
    if (wide.empty()) return false;
    return isProtected_(nullptr, wide.c_str()) != FALSE;
}

bool Win32SystemFiles::ReadStamps(const std::string& path, FileStamps* stamps) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    FILETIME created{}, accessed{}, written{};
    if (!GetFileTime(file.Get(), &created, &accessed, &written)) return false;
    if (!ToLocalTime(created, &stamps->created) || !ToLocalTime(written, &stamps->written))
        return false;
    stamps->sizeLow = GetFileSize(file.Get(), nullptr);
    return true;
}

}  // namespace tv
