#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

#include "platform/CodePageText.h"
#include "platform/UniqueHandle.h"
#include "platform/win32/ScopedHandle.h"

namespace tv {

namespace {

struct FindTraits {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) { FindClose(h); }
};

}  // namespace

bool Win32FileSystem::Exists(const std::string& path) const {
    return !path.empty() && PathFileExistsA(path.c_str()) != FALSE;
}

bool Win32FileSystem::IsFolder(const std::string& path) const {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::ListFolder(const std::string& folder,
                                 std::vector<FolderEntry>* entries) const {
    entries->clear();
    std::string pattern = folder;
    if (pattern.empty() || text::FindLastChar(pattern, '\\') != pattern.size() - 1)
        pattern += '\\';
    pattern += "*.*";
    WIN32_FIND_DATAA data;
    UniqueHandle<HANDLE, FindTraits> find(FindFirstFileA(pattern.c_str(), &data));
    if (!find) return false;
    do {
        if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0)
            continue;
        entries->push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                            (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0,
                            (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileA(find.Get(), &data));
    return true;
}

bool Win32FileSystem::FolderIdentity(const std::string& folder, FileIdentity* identity) const {
    // Backup semantics open a folder; no access beyond its attributes is
    // asked, so a folder in use by anyone still opens.
    ScopedHandle handle(CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return false;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(handle.Get(), &information) ||
        !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    identity->volumeSerial = information.dwVolumeSerialNumber;
    identity->fileIndex =
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return true;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
    return RemoveDirectoryA(path.c_str()) != FALSE;
}

std::string Win32FileSystem::WorkingFolder() const {
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    if (size == 0) return {};
    std::string buffer(size, '\0');
    DWORD length = GetCurrentDirectoryA(size, buffer.data());
    buffer.resize(length < size ? length : 0);
    return buffer;
}

bool Win32FileSystem::SetWorkingFolder(const std::string& path) {
    return SetCurrentDirectoryA(path.c_str()) != FALSE;
}

}  // namespace tv
