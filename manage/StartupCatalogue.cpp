#include "manage/StartupCatalogue.h"

#include "manage/StartupItem.h"

namespace tv {

namespace {
constexpr RegHandle HKCU = kHkeyCurrentUser;
constexpr RegHandle HKLM = kHkeyLocalMachine;
constexpr auto Folder = LocationKind::Folder;
constexpr auto All = LocationKind::AllValues;
constexpr auto One = LocationKind::OneValue;
constexpr auto Resolved = PathShown::Resolved;
constexpr auto Raw = PathShown::Raw;

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kWindows = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
constexpr const char* kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* kCommandProcessor = "Software\\Microsoft\\Command Processor";
}  // namespace

const std::array<StartupLocation, 27> StartupCatalogue = {{
    {HKCU, kShellFolders, Folder, "Startup", ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKLM, kShellFolders, Folder, "Common Startup", ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKCU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKCU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKCU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKCU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKCU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKCU, kWindows, One, "Run", ListedWhen::NotEmpty, "Run", "Run", Resolved, 0},
    {HKCU, kWindows, One, "Load", ListedWhen::NotEmpty, "Load", "Load", Resolved, 0},
    {HKCU, kWinlogon, One, "shell", ListedWhen::NotEmpty, "Shell", "Shell", Resolved, 0},
    {HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\run", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKLM, kWindows, One, "Run", ListedWhen::NotEmpty, "Run", "Run", Resolved, 0},
    {HKLM, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0},
    {HKLM, kWindows, One, "Load", ListedWhen::NotEmpty, "Load", "Load", Resolved, 0},
    {HKLM, kWinlogon, One, "Shell", ListedWhen::DiffersFromExplorer, "Shell  [警告]", "Shell", Raw, kIconWarning},
    {HKLM, kWinlogon, One, "Userinit", ListedWhen::DiffersFromUserinit, "Userinit  [警告]", "Userinit", Raw, kIconWarning},
    {HKLM, "SYSTEM\\CurrentControlSet\\Control\\Terminal Server\\Wds\\rdpwd", One, "StartupPrograms", ListedWhen::DiffersFromRdpclip, "StartupPrograms  [警告]", "StartupPrograms", PathShown::ResolvedWithExe, kIconNotice},
    {HKLM, kCommandProcessor, One, "AutoRun", ListedWhen::NotEmpty, "AutoRun  [警告]", "AutoRun", Resolved, kIconWarning},
    {HKLM, kCommandProcessor, One, "Load", ListedWhen::NotEmpty, "Load  [警告]", "Load", Resolved, kIconWarning},
    {HKLM, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", One, "BootExecute", ListedWhen::NotEmptyNorAutocheck, "Load [警告]", "BootExecute", Resolved, kIconWarning},
    {HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows", One, "AppInit_DLLs", ListedWhen::NotEmpty, " [AppInit_DLLs 警告]", "AppInit_DLLs", Resolved, kIconWarning},
    {HKCU, "Control Panel\\Desktop", One, "SCRNSAVE.EXE", ListedWhen::NotEmptyNorLogonScr, "屏幕保护  [注意]", "SCRNSAVE.EXE", Resolved, kIconNotice},
}};

}  // namespace tv
