#include "tweaks/AppearanceTweaks.h"

#include <cstdint>
#include <vector>

#include "platform/DesktopShell.h"
#include "platform/DisplaySettings.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/RegistryViews.h"
#include "platform/ServiceControl.h"
#include "platform/Shell.h"
#include "platform/SystemProbe.h"
#include "platform/WorkerThreads.h"

namespace tv {

const char kUxsmsService[] = "uxsms";
const char kAppearancePanelArguments[] = "Shell32,Control_RunDLL desk.cpl,appearance,@appearance";

std::string AppearancePanelCommand(const Environment& environment) {
    // By its full path, quoted: a bare name would be looked for first beside
    // this program and in the current directory, where anyone could have put
    // a program of that name, and this program runs elevated.
    std::string system = environment.SystemDirectory();
    if (system.empty()) return {};
    return "\"" + system + "\\rundll32.exe\" " + kAppearancePanelArguments;
}

namespace {

constexpr unsigned kGlassBitsPerPixel = 32;
constexpr unsigned kServiceSettleMs = 2000;

const char kRestoreDesktopSubject[] = "桌面优化";
const char kRestoreThemeSubject[] = "主题设置";
const char kUserExplorerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const char kMachineExplorerKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const char kDwmKey[] = "Software\\Microsoft\\Windows\\DWM";
// Spelled "Control Pane", not "Control Panel": the key this value has always
// been written to.
const char kFeedbackKey[] = "Control Pane\\Desktop";

void ApplyShortcutArrow(Registry& registry, bool remove, std::uint32_t machineView) {
    if (remove) {
        if (RegKey explorer = RegKey::Open(registry, kHkeyCurrentUser, kUserExplorerKey, kKeyAllAccess))
            explorer.SetBinary("Link", std::vector<std::uint8_t>(4, 0));
        if (RegKey lnk = RegKey::Open(registry, kHkeyClassesRoot, "lnkfile", kKeyAllAccess | machineView))
            lnk.DeleteValue("IsShortcut");
    } else {
        if (RegKey explorer = RegKey::Open(registry, kHkeyCurrentUser, kUserExplorerKey, kKeyAllAccess))
            explorer.DeleteValue("Link");
        if (RegKey lnk = RegKey::Create(registry, kHkeyClassesRoot, "lnkfile", machineView))
            lnk.SetString("IsShortcut", "");
    }
}

void ApplyIconCache(Registry& registry, bool larger, std::uint32_t machineView) {
    if (RegKey explorer = RegKey::Create(registry, kHkeyLocalMachine, kMachineExplorerKey, machineView))
        explorer.SetDword("Max Cached Icons", larger ? 4089 : 1024);
}

void ApplyClassicSearch(Registry& registry, bool classic) {
    if (RegKey assistant =
            RegKey::Create(registry, kHkeyCurrentUser, "Software\\Microsoft\\Search Assistant"))
        assistant.SetDword("UseAdvancedSearchAlways", classic ? 1 : 0);
    if (RegKey explorer = RegKey::Create(registry, kHkeyCurrentUser, kUserExplorerKey)) {
        explorer.SetDword("SearchSystemDirs", 1);
        explorer.SetDword("SearchHidden", 1);
        explorer.SetDword("IncludeSubFolders", 1);
    }
}

void ApplyFeedbackText(Registry& registry, bool remove) {
    if (RegKey desktop = RegKey::Create(registry, kHkeyCurrentUser, kFeedbackKey))
        desktop.SetDword("FeedbackToolEnabled", remove ? 1 : 0);
}

const char* const kGlassValueNames[] = {"EnableMachineCheck", "Composition", "CompositionPolicy",
                                        "ColorizationOpaqueBlend"};

void WriteGlassValues(Registry& registry) {
    RegKey dwm = RegKey::Open(registry, kHkeyCurrentUser, kDwmKey, kKeyAllAccess);
    if (!dwm) return;
    dwm.SetDword("EnableMachineCheck", 0);
    dwm.SetDword("Composition", 1);
    dwm.SetDword("CompositionPolicy", 2);
    dwm.SetDword("ColorizationOpaqueBlend", 1);
}

}  // namespace

OpenFileRequest WallpaperFileRequest() {
    OpenFileRequest request;
    request.filterName = "图像文件 (*.bmp;*.gif;*.jpg)";
    // "*gif" without a dot: names merely ending in "gif" are listed as well.
    request.filterPattern = "*.bmp;*.jpg;*gif";
    request.filterIndex = 1;
    request.title = "请选择将要修改的桌面图片";
    request.initialFolder = "";
    request.flags = kOfnFileMustExist | kOfnHideReadOnly;
    request.bufferSize = 260;
    return request;
}

void ChooseWallpaper(const Platform& platform) {
    std::string path;
    if (!platform.fileDialog->ChooseFile(WallpaperFileRequest(), &path)) return;
    if (!platform.files->Exists(path)) return;
    ApplyWallpaper(*platform.desktop, path);
}

bool ApplyWallpaper(DesktopShell& desktop, const std::string& path) {
    std::unique_ptr<ActiveDesktopSession> session = desktop.OpenActiveDesktop();
    if (!session) return false;
    return session->SetItemOptions(true, true) && session->SetWallpaper(path) &&
           session->SetWallpaperStyle(kWallpaperCentered) && session->ApplyChanges(kApplyAll);
}

void OpenThemeSettings(const Platform& platform) {
    VersionRecord version;
    bool glassCapable = platform.system->Version(&version) &&
                        version.platformId == kPlatformWindowsNt && version.major >= 6;
    if (glassCapable) {
        unsigned bits = 0;
        if (platform.display->CurrentBitsPerPixel(&bits) && bits != kGlassBitsPerPixel)
            platform.display->ChangeBitsPerPixel(kGlassBitsPerPixel);
        // The values go only into an existing key; what they replace is
        // kept first, and nothing is written when it cannot be.
        if (RegKey::Open(*platform.registry, kHkeyCurrentUser, kDwmKey, kKeyRead) &&
            !KeepTweakRestore(platform, kRestoreThemeSubject, GlassValues()))
            return;
        WriteGlassValues(*platform.registry);
        ServiceControl& services = *platform.services;
        Environment& environment = *platform.environment;
        platform.workers->Start([&services, &environment] { RestartUxsmsService(services, environment); });
    }
    std::string command = AppearancePanelCommand(*platform.environment);
    if (!command.empty()) platform.shell->Run(command, kSwShow);
}

unsigned long QueryServiceState(ServiceControl& services, const std::string& name) {
    return services.QueryState(name);
}

int RestartUxsmsService(ServiceControl& services, Environment& environment) {
    if (QueryServiceState(services, kUxsmsService) == kServiceRunning) {
        if (!services.Stop(kUxsmsService)) return 0;
        environment.Wait(kServiceSettleMs);
    }
    if (!services.Start(kUxsmsService)) return 0;
    environment.Wait(kServiceSettleMs);
    return 0;
}

std::vector<TweakValue> DesktopTweakValues() {
    return {
        {kHkeyCurrentUser, kUserExplorerKey, "Link"},
        {kHkeyClassesRoot, "lnkfile", "IsShortcut"},
        {kHkeyLocalMachine, kMachineExplorerKey, "Max Cached Icons"},
        {kHkeyCurrentUser, "Software\\Microsoft\\Search Assistant", "UseAdvancedSearchAlways"},
        {kHkeyCurrentUser, kUserExplorerKey, "SearchSystemDirs"},
        {kHkeyCurrentUser, kUserExplorerKey, "SearchHidden"},
        {kHkeyCurrentUser, kUserExplorerKey, "IncludeSubFolders"},
        {kHkeyCurrentUser, kFeedbackKey, "FeedbackToolEnabled"},
    };
}

std::vector<TweakValue> GlassValues() {
    std::vector<TweakValue> values;
    for (const char* name : kGlassValueNames) values.push_back({kHkeyCurrentUser, kDwmKey, name});
    return values;
}

bool ApplyDesktopTweaks(const Platform& platform, const DesktopTweakChoices& choices) {
    // Kept and written in the view the system reads.
    const std::uint32_t view = SystemView(platform);
    std::vector<TweakValue> values = DesktopTweakValues();
    for (TweakValue& value : values) {
        if (value.root != kHkeyCurrentUser) value.view = view;
    }
    if (!KeepTweakRestore(platform, kRestoreDesktopSubject, values)) return false;
    ApplyDesktopTweaks(*platform.registry, *platform.desktop, choices, view);
    return true;
}

void ApplyDesktopTweaks(Registry& registry, DesktopShell& desktop,
                        const DesktopTweakChoices& choices, std::uint32_t machineView) {
    ApplyShortcutArrow(registry, choices.removeShortcutArrow, machineView);
    ApplyIconCache(registry, choices.largerIconCache, machineView);
    ApplyClassicSearch(registry, choices.classicSearch);
    ApplyFeedbackText(registry, choices.removeFeedbackText);
    desktop.NotifyAssociationsChanged();
}

}  // namespace tv
