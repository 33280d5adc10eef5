#include "tests/support/RecordingTool.h"

#include <windows.h>

#include "platform/Registry.h"
#include "platform/win32/Win32Registry.h"
#include "tests/support/WindowTestSupport.h"

namespace tv::testing {

namespace {

const char kMachineEnvironment[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char kWineOverrides[] = "Software\\Wine\\DllOverrides";

std::string ReadAll(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text(65536, '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    return text;
}

std::vector<std::string> LinesOf(const std::string& path) {
    std::vector<std::string> lines;
    std::string all = ReadAll(path);
    for (std::size_t start = 0, end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(all.substr(start, end - start));
    return lines;
}

}  // namespace

RecordingTool::RecordingTool(const std::string& tool, const std::string& userPath)
    : tool_(tool), saved_(tool + ".tvsaved"), userPath_(userPath) {
    overrideName_ = tool_.substr(tool_.find_last_of('\\') + 1);
    const std::string stem = overrideName_.substr(0, overrideName_.find('.'));
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    record_ = std::string(temp) + "tv-" + stem + "-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(record_.c_str());
    ready_ = MoveFileA(tool_.c_str(), saved_.c_str()) &&
             CopyFileA((ProgramDirectory() + "tv_recorder.exe").c_str(), tool_.c_str(), TRUE);
    DeleteFileA((record_ + ".env").c_str());
    SetEnvironmentVariableA("TV_RECORD_FILE", record_.c_str());
    Win32Registry registry;
    ready_ = ready_ &&
             RegKey::Create(registry, kHkeyLocalMachine, kMachineEnvironment)
                     .SetString("TV_RECORD_FILE", record_) == kErrorSuccess;
    const RegKey overrides = RegKey::Create(registry, kHkeyCurrentUser, kWineOverrides);
    hadOverride_ = overrides.ReadString(overrideName_, 256, &savedOverride_);
    overrides.SetString(overrideName_, "native,builtin");
    if (userPath_.empty()) return;
    const RegKey user = RegKey::Create(registry, kHkeyCurrentUser, "Environment");
    hadUserPath_ = user.ReadString("PATH", 32768, &savedUserPath_);
    user.SetString("PATH", userPath_);
    std::string path(32768, '\0');
    path.resize(GetEnvironmentVariableA("PATH", path.data(), static_cast<DWORD>(path.size())));
    savedPath_ = path;
    SetEnvironmentVariableA("PATH", (userPath_ + ";" + savedPath_).c_str());
}

RecordingTool::~RecordingTool() {
    SetEnvironmentVariableA("TV_RECORD_FILE", nullptr);
    Win32Registry registry;
    RegKey::Open(registry, kHkeyLocalMachine, kMachineEnvironment, kKeyAllAccess).DeleteValue("TV_RECORD_FILE");
    const RegKey overrides = RegKey::Open(registry, kHkeyCurrentUser, kWineOverrides, kKeyAllAccess);
    if (hadOverride_) overrides.SetString(overrideName_, savedOverride_);
    else overrides.DeleteValue(overrideName_);
    if (!userPath_.empty()) {
        SetEnvironmentVariableA("PATH", savedPath_.c_str());
        const RegKey user = RegKey::Open(registry, kHkeyCurrentUser, "Environment", kKeyAllAccess);
        if (hadUserPath_) user.SetString("PATH", savedUserPath_);
        else user.DeleteValue("PATH");
    }
    DeleteFileA(tool_.c_str());
    MoveFileA(saved_.c_str(), tool_.c_str());
    DeleteFileA(record_.c_str());
    DeleteFileA((record_ + ".env").c_str());
}

std::vector<std::string> RecordingTool::Variables() const { return LinesOf(record_ + ".env"); }

std::vector<std::string> RecordingTool::Lines() const { return LinesOf(record_); }

}  // namespace tv::testing
