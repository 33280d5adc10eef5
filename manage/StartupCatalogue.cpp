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

// Views on 64-bit Windows. HKCU\Software and HKLM\SYSTEM are not redirected
// at all, and HKLM\...\CurrentVersion\Policies is on the platform's list of
// shared keys: one key, read once (Shared). The rest of HKLM\Software is
// redirected: 32-bit programs write their own copy below Wow6432Node.
// - Run-type keys (Both): Windows starts the entries of both copies at
//   logon, so both are listed.
// - Winlogon, the shell folders and the Windows key's Run and Load (System):
//   read by the 64-bit Winlogon and Explorer only; the 32-bit copy is never
//   used and listing it would mislead.
// - Command Processor and AppInit_DLLs (Both): the 32-bit command processor
//   runs the 32-bit copy's AutoRun, 32-bit processes load the 32-bit copy's
//   AppInit_DLLs.
// Measured under Wine: the same keys are redirected and shared there.
constexpr auto Shared = ViewsRead::Shared;
constexpr auto System = ViewsRead::SystemOnly;
constexpr auto Both = ViewsRead::Both;

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kWindows = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
constexpr const char* kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* kCommandProcessor = "Software\\Microsoft\\Command Processor";
}  // namespace

const std::array<StartupLocation, 27> StartupCatalogue = {{
    {HKCU, kShellFolders, Folder, "Startup", ListedWhen::Always, nullptr, nullptr, Resolved, 0, Shared},
    {HKLM, kShellFolders, Folder, "Common Startup", ListedWhen::Always, nullptr, nullptr, Resolved, 0, System},
    {HKCU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0, Shared},
    {HKCU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0, Shared},
    {HKCU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0, Shared},
    {HKCU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0, Shared},
    {HKCU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0, Shared},
    {HKCU, kWindows, One, "Run", ListedWhen::NotEmpty, "Run", "Run", Resolved, 0, Shared},
    {HKCU, kWindows, One, "Load", ListedWhen::NotEmpty, "Load", "Load", Resolved, 0, Shared},
    {HKCU, kWinlogon, One, "shell", ListedWhen::NotEmpty, "Shell", "Shell", Resolved, 0, Shared},
    {HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\run", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0, Shared},
    {HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0, Both},
    {HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0, Both},
    {HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0, Both},
    {HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0, Both},
    {HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0, Both},
    {HKLM, kWindows, One, "Run", ListedWhen::NotEmpty, "Run", "Run", Resolved, 0, System},
    {HKLM, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run", All, nullptr, ListedWhen::Always, nullptr, nullptr, Resolved, 0, Shared},
    {HKLM, kWindows, One, "Load", ListedWhen::NotEmpty, "Load", "Load", Resolved, 0, System},
    {HKLM, kWinlogon, One, "Shell", ListedWhen::DiffersFromExplorer, "Shell  [警告]", "Shell", Raw, kIconWarning, System},
    {HKLM, kWinlogon, One, "Userinit", ListedWhen::DiffersFromUserinit, "Userinit  [警告]", "Userinit", Raw, kIconWarning, System},
    {HKLM, "SYSTEM\\CurrentControlSet\\Control\\Terminal Server\\Wds\\rdpwd", One, "StartupPrograms", ListedWhen::DiffersFromRdpclip, "StartupPrograms  [警告]", "StartupPrograms", PathShown::ResolvedWithExe, kIconNotice, Shared},
    {HKLM, kCommandProcessor, One, "AutoRun", ListedWhen::NotEmpty, "AutoRun  [警告]", "AutoRun", Resolved, kIconWarning, Both},
    {HKLM, kCommandProcessor, One, "Load", ListedWhen::NotEmpty, "Load  [警告]", "Load", Resolved, kIconWarning, Both},
    {HKLM, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", One, "BootExecute", ListedWhen::NotEmptyNorAutocheck, "Load [警告]", "BootExecute", Resolved, kIconWarning, Shared},
    {HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows", One, "AppInit_DLLs", ListedWhen::NotEmpty, " [AppInit_DLLs 警告]", "AppInit_DLLs", Resolved, kIconWarning, Both},
    {HKCU, "Control Panel\\Desktop", One, "SCRNSAVE.EXE", ListedWhen::NotEmptyNorLogonScr, "屏幕保护  [注意]", "SCRNSAVE.EXE", Resolved, kIconNotice, Shared},
}};

}  // namespace tv
