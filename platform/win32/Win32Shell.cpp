#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/CodePageText.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32TextCodec.h"

namespace tv {

namespace {

// The code page's text in UTF-16, as the A-functions would pass it on.
std::u16string Widened(const std::string& text) {
    const std::wstring wide = WideFromAnsi(text);
    return std::u16string(wide.begin(), wide.end());
}

}  // namespace

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
                       int showCommand, const ProcessEnvironment* environment) {
    return StartW(Widened(application), Widened(commandLine), showCommand, environment);
}

bool Win32Shell::StartW(const std::u16string& application, const std::u16string& commandLine,
                        int showCommand, const ProcessEnvironment* environment) {
    // The block: each variable with its NUL, then one more. A variable with
    // a NUL in it, or without a name, would end the block early or be read
    // as another.
    std::vector<wchar_t> block;
    if (environment != nullptr) {
        for (const std::u16string& variable : *environment) {
            if (variable.empty() || variable.find(u'\0') != std::u16string::npos ||
                variable.find(u'=', 1) == std::u16string::npos)
                return false;
            block.insert(block.end(), variable.begin(), variable.end());
            block.push_back(L'\0');
        }
        // An empty block still needs its two NULs.
        if (block.empty()) block.push_back(L'\0');
        block.push_back(L'\0');
    }
    // The command line buffer must be writable.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    // The application's own folder, not this program's current one: a
    // library the started program looks for is not searched for where the
    // user happened to start this program.
    const std::size_t slash = application.rfind(u'\\');
    const std::wstring app(application.begin(), application.end());
    const std::wstring folder = slash == std::u16string::npos ? std::wstring() : app.substr(0, slash + 1);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(app.c_str(), line.data(), nullptr, nullptr, FALSE,
                        environment != nullptr ? CREATE_UNICODE_ENVIRONMENT : 0,
                        environment != nullptr ? block.data() : nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        return false;
    ScopedHandle process(started.hProcess);
    ScopedHandle thread(started.hThread);
    return true;
}

}  // namespace tv
