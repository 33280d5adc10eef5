#include "platform/win32/HandlePaths.h"
#include "platform/win32/Win32TextCodec.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tv {

namespace {

// The native calls take an I/O status block and a class number; the
// structures are the kernel's documented ones.
struct IoStatus {
    union {
        LONG status;
        void* pointer;
    };
    ULONG_PTR information;
};
using SetInformationFile = LONG(NTAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
constexpr int kFileRenameInformation = 10;
constexpr int kFileDispositionInformation = 13;

struct RenameInformation {
    BOOLEAN replaceIfExists;
    HANDLE rootDirectory;
    ULONG fileNameLength;
    WCHAR fileName[1];
};

template <typename Function>
Function Loaded(const wchar_t* dll, const char* name) {
    // kernel32 and ntdll are in every process from its start.
    HMODULE module = GetModuleHandleW(dll);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

bool SetInformation(HANDLE handle, void* information, ULONG size, int kind) {
    static const auto set = Loaded<SetInformationFile>(L"ntdll.dll", "NtSetInformationFile");
    IoStatus status{};
    return set != nullptr && set(handle, &status, information, size, kind) >= 0;
}

std::wstring Upper(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    if (!path.empty()) CharUpperBuffW(&path[0], static_cast<DWORD>(path.size()));
    return path;
}

}  // namespace

std::wstring WidePath(const std::string& path) { return WideFromAnsi(path); }

bool FinalPathOf(HANDLE handle, std::wstring* path) {
    using GetFinalPath = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    static const auto get = Loaded<GetFinalPath>(L"kernel32.dll", "GetFinalPathNameByHandleW");
    if (get == nullptr) return false;
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length = get(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                 FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return false;
        if (length < buffer.size()) {
            std::wstring found(buffer.data(), length);
            if (found.compare(0, 8, L"\\\\?\\UNC\\") == 0) found = L"\\" + found.substr(7);
            else if (found.compare(0, 4, L"\\\\?\\") == 0) found.erase(0, 4);
            *path = found;
            return true;
        }
        buffer.assign(length + 1, L'\0');
    }
    return false;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return !a.empty() && Upper(a) == Upper(b);
}

bool PathInside(const std::wstring& path, const std::wstring& folder) {
    const std::wstring outer = Upper(folder);
    const std::wstring inner = Upper(path);
    if (outer.empty() || inner.size() <= outer.size() + 1) return false;
    if (inner.compare(0, outer.size(), outer) != 0) return false;
    // "C:\" ends in its separator; every other folder is followed by one.
    return outer.back() == L'\\' || inner[outer.size()] == L'\\';
}

bool NoLinkOnTheWay(const std::wstring& path) {
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') return false;
    for (std::size_t end = path.find(L'\\', 3);; end = path.find(L'\\', end + 1)) {
        const std::wstring part = path.substr(0, end);
        const DWORD attributes = GetFileAttributesW(part.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return false;
        if (end == std::wstring::npos) return true;
    }
}

bool DiscardThroughHandle(HANDLE handle) {
    BOOLEAN deleteFile = TRUE;
    return SetInformation(handle, &deleteFile, sizeof deleteFile, kFileDispositionInformation);
}

bool RenameInto(HANDLE file, HANDLE folder, const std::wstring& name) {
    if (name.empty() || name.find(L'\\') != std::wstring::npos) return false;
    const std::size_t bytes = name.size() * sizeof(WCHAR);
    std::vector<unsigned char> block(offsetof(RenameInformation, fileName) + bytes + sizeof(WCHAR));
    auto* information = reinterpret_cast<RenameInformation*>(block.data());
    information->replaceIfExists = FALSE;
    // Relative to the folder's handle: the file lands in that folder,
    // whatever its path leads to by now.
    information->rootDirectory = folder;
    information->fileNameLength = static_cast<ULONG>(bytes);
    std::copy(name.begin(), name.end(), information->fileName);
    return SetInformation(file, information, static_cast<ULONG>(block.size()),
                          kFileRenameInformation);
}

}  // namespace tv
