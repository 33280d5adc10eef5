#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/CodePageText.h"
#include "platform/win32/ScopedHandle.h"

namespace tv {

namespace {

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

void Win32Shell::Open(const std::string& address, int showCommand) {
    ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr,
                  showCommand);
}

bool Win32Shell::Launch(const ShellLaunch& launch) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.lpVerb = OrNull(launch.verb);
    info.lpFile = launch.file.c_str();
    info.lpParameters = OrNull(launch.parameters);
    info.lpDirectory = OrNull(launch.directory);
    info.nShow = launch.showCommand;
    return ShellExecuteExA(&info) != FALSE;
}

bool Win32Shell::Run(const std::string& commandLine, int showCommand) {
    return WinExec(commandLine.c_str(), static_cast<UINT>(showCommand)) > 31;
}

bool Win32Shell::Start(const std::string& application, const std::string& commandLine,
                       int showCommand) {
    // The command line buffer must be writable.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    // The application's own folder, not this program's current one: a
    // library the started program looks for is not searched for where the
    // user happened to start this program.
    const std::size_t slash = text::FindLastChar(application, '\\');
    const std::string folder = slash == text::npos ? std::string() : application.substr(0, slash + 1);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        return false;
    ScopedHandle process(started.hProcess);
    ScopedHandle thread(started.hThread);
    return true;
}

}  // namespace tv
