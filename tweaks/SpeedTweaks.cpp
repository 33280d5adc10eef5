#include "tweaks/SpeedTweaks.h"

#include <vector>

#include "platform/CodePageText.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/RegistryViews.h"

namespace tv {

const char kSpeedTweaksDoneText[] = "操作已经完成，请重新启动计算机生效";

namespace {

const char kRestoreSpeedSubject[] = "速度优化";
const char kControlKey[] = "SYSTEM\\CurrentControlSet\\Control";
const char kSessionManagerKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kBootOptimizeKey[] = "SOFTWARE\\Microsoft\\Dfrg\\BootOptimizeFunction";
const char kDesktopKey[] = "Control Panel\\Desktop";
const char kExplorerKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer";

// Gives the prefetch clean-up time to finish before the boot settings.
constexpr unsigned kSettleMilliseconds = 300;

// "folder\name", without doubling the separator after a root such as "C:\".
std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && text::FindLastChar(folder, '\\') == folder.size() - 1)
        return folder + name;
    return folder + "\\" + name;
}

void CleanBootAndPrefetch(Registry& registry, FileSystem& files, Environment& environment,
                          std::uint32_t machineView) {
    // Without the Windows directory the paths would point somewhere else
    // entirely (relative to the current drive): delete nothing then.
    const std::string windows = environment.WindowsDirectory();
    if (!windows.empty()) DeleteFolderTree(files, JoinPath(windows, "Prefetch"));
    environment.Wait(kSettleMilliseconds);

    RegKey::Create(registry, kHkeyLocalMachine, kBootOptimizeKey, machineView)
        .SetString("Enable", "Y");
    RegKey::Create(registry, kHkeyLocalMachine, kControlKey)
        .SetString("SystemStartOptions", "NODETECT");
    RegKey::Create(registry, kHkeyLocalMachine, kSessionManagerKey).SetDword("AutoChkTimeOut", 1);
    // An empty list (one NUL byte): no boot-time commands, no disk check.
    const char emptyList[1] = {'\0'};
    RegKey::Open(registry, kHkeyLocalMachine, kSessionManagerKey, kKeyAllAccess)
        .Set("BootExecute", kRegMultiSz, emptyList, 1);

    if (!windows.empty()) files.RemoveFile(JoinPath(windows, "memory.dmp"));
}

}  // namespace

void ApplySpeedTweaks(const SpeedTweakChoices& choices, Registry& registry, FileSystem& files,
                      Environment& environment, std::uint32_t machineView) {
    if (choices.prefetch) CleanBootAndPrefetch(registry, files, environment, machineView);

    RegKey::Create(registry, kHkeyLocalMachine, kControlKey)
        .SetString("WaitToKillServiceTimeout", choices.serviceTimeout ? "1" : "20000");

    const bool quickEnd = choices.appResponse || choices.shutdown;
    RegKey desktop = RegKey::Create(registry, kHkeyCurrentUser, kDesktopKey);
    // An on/off switch: "0" (the system's default) is what switching the
    // tweak off means; the time-outs go back to 20 seconds.
    desktop.SetString("AutoEndTasks", quickEnd ? "1" : "0");
    desktop.SetString("HungAppTimeout", quickEnd ? "1" : "20000");
    desktop.SetString("WaitToKillAppTimeout", quickEnd ? "1" : "20000");
    desktop.Close();

    RegKey::Create(registry, kHkeyLocalMachine, kExplorerKey, machineView)
        .SetDword("AlwaysUnloadDLL", choices.dllUnload ? 1 : 0);
}

std::vector<TweakValue> SpeedTweakValues(const SpeedTweakChoices& choices) {
    std::vector<TweakValue> values;
    if (choices.prefetch) {
        values.push_back({kHkeyLocalMachine, kBootOptimizeKey, "Enable"});
        values.push_back({kHkeyLocalMachine, kControlKey, "SystemStartOptions"});
        values.push_back({kHkeyLocalMachine, kSessionManagerKey, "AutoChkTimeOut"});
        values.push_back({kHkeyLocalMachine, kSessionManagerKey, "BootExecute"});
    }
    values.push_back({kHkeyLocalMachine, kControlKey, "WaitToKillServiceTimeout"});
    values.push_back({kHkeyCurrentUser, kDesktopKey, "AutoEndTasks"});
    values.push_back({kHkeyCurrentUser, kDesktopKey, "HungAppTimeout"});
    values.push_back({kHkeyCurrentUser, kDesktopKey, "WaitToKillAppTimeout"});
    values.push_back({kHkeyLocalMachine, kExplorerKey, "AlwaysUnloadDLL"});
    return values;
}

bool ApplySpeedTweaks(const Platform& platform, const SpeedTweakChoices& choices) {
    // Kept and written in the view the system reads.
    const std::uint32_t view = SystemView(platform);
    std::vector<TweakValue> values = SpeedTweakValues(choices);
    for (TweakValue& value : values) {
        if (value.root != kHkeyCurrentUser) value.view = view;
    }
    if (!KeepTweakRestore(platform, kRestoreSpeedSubject, values)) return false;
    ApplySpeedTweaks(choices, *platform.registry, *platform.files, *platform.environment, view);
    return true;
}

void DeleteFolderTree(FileSystem& files, const std::string& folder) {
    std::vector<FolderEntry> entries;
    if (files.ListFolder(folder, &entries)) {
        for (const FolderEntry& entry : entries) {
            const std::string path = JoinPath(folder, entry.name.Shown());
            // A link goes, but never what it points to: that lies outside
            // the folder being cleaned.
            if (entry.folder && entry.link) files.RemoveFolder(path);
            else if (entry.folder) DeleteFolderTree(files, path);
            else files.RemoveFile(path);
        }
    }
    files.RemoveFolder(folder);
}

}  // namespace tv
