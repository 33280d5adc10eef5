#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

#include "platform/CodePageText.h"
#include "platform/UniqueHandle.h"
#include "platform/win32/NativePaths.h"
#include "platform/win32/ScopedHandle.h"

namespace tv {

namespace {

struct FindTraits {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) { FindClose(h); }
};

struct FileTraits {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

}  // namespace

bool Win32FileSystem::Exists(const std::string& path) const {
    return !path.empty() && PathFileExistsA(NativePath(path).c_str()) != FALSE;
}

bool Win32FileSystem::IsFolder(const std::string& path) const {
    DWORD attributes = GetFileAttributesA(NativePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::ListFolder(const std::string& folder,
                                 std::vector<FolderEntry>* entries) const {
    entries->clear();
    std::string pattern = NativePath(folder);
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
    ScopedHandle handle(CreateFileA(NativePath(folder).c_str(), FILE_READ_ATTRIBUTES,
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
    return DeleteFileA(NativePath(path).c_str()) != FALSE;
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
    return RemoveDirectoryA(NativePath(path).c_str()) != FALSE;
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    return GetLastError() == ERROR_ALREADY_EXISTS && IsFolder(path);
}

bool Win32FileSystem::WriteNewFile(const std::string& path, const std::string& bytes) {
    bool written = false;
    {
        UniqueHandle<HANDLE, FileTraits> file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                                          nullptr));
        if (!file) return false;
        written = true;
        std::size_t done = 0;
        while (written && done < bytes.size()) {
            const std::size_t rest = bytes.size() - done;
            const DWORD chunk = rest > 0x10000000u ? 0x10000000u : static_cast<DWORD>(rest);
            DWORD wrote = 0;
            written = WriteFile(file.Get(), bytes.data() + done, chunk, &wrote, nullptr) &&
                      wrote == chunk;
            done += wrote;
        }
        written = written && FlushFileBuffers(file.Get());
    }
    // A file cut short (disk full) would restore less than it claims.
    if (!written) DeleteFileA(path.c_str());
    return written;
}

bool Win32FileSystem::MoveFileTo(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED) != FALSE;
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
