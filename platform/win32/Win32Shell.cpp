#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>

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

}  // namespace tv
