#include "tests/support/HostShell.h"

#include <windows.h>

#include <fstream>
#include <string>

namespace tv {

// The host path of a Windows path, as Wine gives it; empty elsewhere.
std::string UnixPath(const std::string& path) {
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return {};
    std::wstring wide(path.size() + 1, L'\0');
    int units = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(),
                                    static_cast<int>(wide.size()));
    if (units <= 0) return {};
    char* name = unixName(wide.c_str());
    if (!name) return {};
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

// Runs `commands` in a Unix shell (Wine starts host programs, and only the
// host makes symbolic links), then waits, with a bound, until `path` exists
// or not as `present` says.
bool RunHostShell(const std::string& commands, const std::string& path, bool present) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string script = std::string(temp) + "tvhost-" + std::to_string(GetCurrentProcessId()) + ".sh";
    {
        std::ofstream out(script, std::ios::binary);
        out << commands;
        if (!out) return false;
    }
    std::string line = "start.exe /unix /bin/sh " + UnixPath(script);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return false;
    CloseHandle(info.hThread);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    // start.exe does not wait for the host program.
    for (int i = 0; i < 1000 && Exists(path) != present; ++i) Sleep(10);
    DeleteFileA(script.c_str());
    return Exists(path) == present;
}

bool MakeHostLink(const std::string& link, const std::string& target) {
    const std::string from = UnixPath(link);
    const std::string to = UnixPath(target);
    if (from.empty() || to.empty()) return false;
    return RunHostShell("ln -s '" + to + "' '" + from + "'\n", link, true);
}

}  // namespace tv
