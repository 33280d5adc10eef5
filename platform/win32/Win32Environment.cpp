#include "platform/win32/Win32Environment.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdint>

#include "platform/CodePageText.h"
#include "platform/WideText.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32TextCodec.h"

namespace tv {

namespace {

// Calls `get` with a growing buffer until the whole text fits.
template <typename Get>
std::string ReadText(Get get) {
    std::string buffer(MAX_PATH, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        UINT length = get(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.assign(length + 1, '\0');
    }
    return {};
}

// A shell folder, no trailing backslash (a drive root keeps its own); empty
// when the shell gives none.
std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    std::string folder = path;
    if (folder.size() > 3 && text::FindLastChar(folder, '\\') == folder.size() - 1) folder.pop_back();
    return folder;
}

}  // namespace

std::string Win32Environment::WindowsDirectory() const {
    return ReadText([](char* b, UINT n) { return GetWindowsDirectoryA(b, n); });
}

std::string Win32Environment::SystemDirectory() const {
    return ReadText([](char* b, UINT n) { return GetSystemDirectoryA(b, n); });
}

std::string Win32Environment::CommonAppDataFolder() const {
    // Asked in UTF-16 and spelled in the code page only when it converts
    // exactly: a path with a character replaced would name another folder.
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)) ||
        path[0] == L'\0')
        return {};
    std::string folder;
    if (!AnsiFromWideExactly(path, &folder)) return {};
    if (folder.size() > 3 && text::FindLastChar(folder, '\\') == folder.size() - 1) folder.pop_back();
    return folder;
}

std::string Win32Environment::ProfileFolder() const { return ShellFolder(CSIDL_PROFILE); }

std::string Win32Environment::CommonStartupFolder() const {
    return ShellFolder(CSIDL_COMMON_STARTUP);
}

std::vector<std::string> Win32Environment::ProgramFilesFolders() const {
    std::vector<std::string> folders;
    auto add = [&folders](std::string folder) {
        if (folder.size() > 3 && text::FindLastChar(folder, '\\') == folder.size() - 1) folder.pop_back();
        if (folder.empty()) return;
        for (const std::string& known : folders)
            if (text::EqualsNoCase(known, folder)) return;
        folders.push_back(folder);
    };
    // The 32-bit program on 64-bit Windows is told the 32-bit folder for
    // both; the 64-bit one is the machine's own setting, which only
    // administrators can change.
    add(ShellFolder(CSIDL_PROGRAM_FILES));
    add(ShellFolder(CSIDL_PROGRAM_FILESX86));
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) {
        Win32Registry registry;
        const RegKey key = RegKey::Open(registry, kHkeyLocalMachine,
                                        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                        kKeyQueryValue | kKeyWow64_64Key);
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        std::string path;
        if (key && key.Query("ProgramFilesDir", &type, nullptr, &size) == kErrorSuccess &&
            type == kRegSz && key.ReadString("ProgramFilesDir", size + 1, &path))
            add(path);
    }
    return folders;
}

// From a 32-bit process on 64-bit Windows this is "Program Files (x86)": the
// folder of this program's own kind, where the 32-bit browser lives.
std::string Win32Environment::ProgramFilesFolder() const { return ShellFolder(CSIDL_PROGRAM_FILES); }

// CreateEnvironmentBlock with no user token gives the system's variables
// only (the machine's Session Manager\Environment, expanded, and what the
// system adds: SystemRoot, ProgramFiles, ALLUSERSPROFILE, ...), and with
// bInherit FALSE nothing of this process's own. It expands the machine's
// values with this process's SystemRoot, which whoever started the program
// chose: a SystemRoot other than the system's own folder gives no block.
bool Win32Environment::SystemVariables(std::vector<std::u16string>* variables) const {
    using Create = BOOL(WINAPI*)(LPVOID*, HANDLE, BOOL);
    using Destroy = BOOL(WINAPI*)(LPVOID);
    const auto create = SystemFunctionAs<Create>("userenv.dll", "CreateEnvironmentBlock");
    const auto destroy = SystemFunctionAs<Destroy>("userenv.dll", "DestroyEnvironmentBlock");
    if (create == nullptr || destroy == nullptr || variables == nullptr) return false;
    wchar_t windows[MAX_PATH + 1] = {};
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::u16string system(reinterpret_cast<const char16_t*>(windows), length);
    wchar_t own[MAX_PATH + 1] = {};
    const DWORD ownLength = GetEnvironmentVariableW(L"SystemRoot", own, MAX_PATH);
    if (ownLength == 0 || ownLength >= MAX_PATH ||
        !utf16::EqualsNoCase(std::u16string(reinterpret_cast<const char16_t*>(own), ownLength), system))
        return false;
    void* block = nullptr;
    if (!create(&block, nullptr, FALSE) || block == nullptr) return false;
    variables->clear();
    for (const wchar_t* at = static_cast<const wchar_t*>(block); *at != L'\0';) {
        std::size_t size = 0;
        while (at[size] != L'\0') ++size;
        variables->emplace_back(reinterpret_cast<const char16_t*>(at), size);
        at += size + 1;
    }
    destroy(block);
    return true;
}

bool Win32Environment::Variable(const std::string& name, std::string* value) const {
    SetLastError(ERROR_SUCCESS);
    DWORD needed = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (needed == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
        value->clear();
        return true;
    }
    std::string buffer(needed, '\0');
    DWORD length = GetEnvironmentVariableA(name.c_str(), buffer.data(), needed);
    if (length >= needed) return false;  // changed meanwhile
    buffer.resize(length);
    *value = buffer;
    return true;
}

void Win32Environment::Wait(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace tv
