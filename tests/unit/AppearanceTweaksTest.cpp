// The appearance page's actions against the fakes: the exact registry
// values, the order of the active-desktop steps, the theme button on each
// kind of system and the worker's service restart.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "tests/support/FakePlatform.h"
#include "tweaks/AppearanceTweaks.h"

namespace tv {
namespace {

using Strings = std::vector<std::string>;

const char kUserExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const char kMachineExplorer[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const char kDwm[] = "Software\\Microsoft\\Windows\\DWM";

// A value as "type:hex bytes", or "absent".
std::string ValueOf(Registry& registry, RegHandle root, const std::string& path,
                    const std::string& name) {
    RegKey key = RegKey::Open(registry, root, path, kKeyRead);
    if (!key) return "absent";
    std::uint32_t type = 0, size = 0;
    if (key.Query(name, &type, nullptr, &size) != kErrorSuccess) return "absent";
    std::vector<unsigned char> data(size + 1);
    key.Query(name, &type, data.data(), &size);
    std::string out = std::to_string(type) + ":";
    static const char hex[] = "0123456789abcdef";
    for (std::uint32_t i = 0; i < size; ++i) {
        out += hex[data[i] >> 4];
        out += hex[data[i] & 0xF];
    }
    return out;
}

std::string Dword(std::uint32_t v) {
    static const char hex[] = "0123456789abcdef";
    std::string out = "4:";
    for (int i = 0; i < 4; ++i) {
        unsigned char b = static_cast<unsigned char>(v >> (8 * i));
        out += hex[b >> 4];
        out += hex[b & 0xF];
    }
    return out;
}

class AppearanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegKey::Create(fakes_.registry, kHkeyCurrentUser, kUserExplorer);
        RegKey::Create(fakes_.registry, kHkeyClassesRoot, "lnkfile").SetString("IsShortcut", "");
    }
    std::string Value(RegHandle root, const std::string& path, const std::string& name) {
        return ValueOf(fakes_.registry, root, path, name);
    }
    testing::FakePlatform fakes_;
};

TEST_F(AppearanceTest, DesktopTweaksWriteEveryValueForBothStates) {
    struct Case {
        DesktopTweakChoices choices;
        std::string link, isShortcut, maxIcons, advanced, feedback;
    } cases[] = {
        {{true, true, true, true}, "3:00000000", "absent", Dword(4089), Dword(1), Dword(1)},
        {{false, false, false, false}, "absent", "1:00", Dword(1024), Dword(0), Dword(0)},
        {{true, false, true, false}, "3:00000000", "absent", Dword(4089), Dword(0), Dword(0)},
        {{false, true, false, true}, "absent", "1:00", Dword(1024), Dword(1), Dword(1)},
    };
    for (const Case& c : cases) {
        // Start from the opposite state so every value must be written.
        ApplyDesktopTweaks(fakes_.registry, fakes_.desktop,
                           {!c.choices.removeShortcutArrow, !c.choices.removeFeedbackText,
                            !c.choices.largerIconCache, !c.choices.classicSearch});
        fakes_.desktop.log.clear();
        ApplyDesktopTweaks(fakes_.registry, fakes_.desktop, c.choices);
        SCOPED_TRACE(c.maxIcons + c.advanced);
        EXPECT_EQ(Value(kHkeyCurrentUser, kUserExplorer, "Link"), c.link);
        EXPECT_EQ(Value(kHkeyClassesRoot, "lnkfile", "IsShortcut"), c.isShortcut);
        EXPECT_EQ(Value(kHkeyLocalMachine, kMachineExplorer, "Max Cached Icons"), c.maxIcons);
        EXPECT_EQ(Value(kHkeyCurrentUser, "Software\\Microsoft\\Search Assistant",
                        "UseAdvancedSearchAlways"),
                  c.advanced);
        for (const char* name : {"SearchSystemDirs", "SearchHidden", "IncludeSubFolders"})
            EXPECT_EQ(Value(kHkeyCurrentUser, kUserExplorer, name), Dword(1)) << name;
        EXPECT_EQ(Value(kHkeyCurrentUser, "Control Pane\\Desktop", "FeedbackToolEnabled"),
                  c.feedback);
        EXPECT_EQ(Value(kHkeyCurrentUser, "Control Panel\\Desktop", "FeedbackToolEnabled"),
                  "absent");
        EXPECT_EQ(fakes_.desktop.log, Strings{"notify associations"});
    }
    EXPECT_EQ(fakes_.registry.OpenHandleCount(), 0u);
}

TEST_F(AppearanceTest, ShortcutArrowTouchesOnlyKeysThatExist) {
    testing::FakePlatform empty;  // neither the Explorer key nor lnkfile exists
    ApplyDesktopTweaks(empty.registry, empty.desktop, {true, true, true, true});
    EXPECT_EQ(ValueOf(empty.registry, kHkeyCurrentUser, kUserExplorer, "Link"), "absent");
    EXPECT_FALSE(RegKey::Open(empty.registry, kHkeyClassesRoot, "lnkfile", kKeyRead));
    // The search group creates the Explorer key; unchecking then creates lnkfile.
    ApplyDesktopTweaks(empty.registry, empty.desktop, {false, true, true, true});
    EXPECT_EQ(ValueOf(empty.registry, kHkeyClassesRoot, "lnkfile", "IsShortcut"), "1:00");
}

TEST_F(AppearanceTest, WallpaperDialogAsksForPicturesIncludingBareGif) {
    fakes_.fileDialog.QueueAnswer("");  // cancel
    ChooseWallpaper(fakes_.Get());
    ASSERT_EQ(fakes_.fileDialog.Requests().size(), 1u);
    const OpenFileRequest& r = fakes_.fileDialog.Requests()[0];
    EXPECT_EQ(r.filterName, "图像文件 (*.bmp;*.gif;*.jpg)");
    EXPECT_EQ(r.filterPattern, "*.bmp;*.jpg;*gif");
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_EQ(r.title, "请选择将要修改的桌面图片");
    EXPECT_EQ(r.initialFolder, "");
    EXPECT_EQ(r.flags, 0x1004u);
    EXPECT_EQ(r.bufferSize, 260u);
    EXPECT_TRUE(fakes_.desktop.log.empty());
}

TEST_F(AppearanceTest, ChosenPictureBecomesWallpaperOnlyIfItExists) {
    const std::string picture = "C:\\图片\\风景gif";
    fakes_.files.AddFile(picture);
    fakes_.fileDialog.QueueAnswer("C:\\missing.bmp");
    ChooseWallpaper(fakes_.Get());
    EXPECT_TRUE(fakes_.desktop.log.empty());

    fakes_.fileDialog.QueueAnswer(picture);
    ChooseWallpaper(fakes_.Get());
    EXPECT_EQ(fakes_.desktop.log, (Strings{"open", "options 1 1", "wallpaper " + picture,
                                           "style 0", "apply 7", "release"}));
    EXPECT_EQ(fakes_.desktop.wallpaper, picture);
}

TEST_F(AppearanceTest, ApplyWallpaperStopsAtTheFailedStepAndAlwaysReleases) {
    struct Case {
        std::string failAt;
        Strings log;
    } cases[] = {
        {"open", {"open"}},
        {"options", {"open", "options 1 1", "release"}},
        {"wallpaper", {"open", "options 1 1", "wallpaper x.jpg", "release"}},
        {"style", {"open", "options 1 1", "wallpaper x.jpg", "style 0", "release"}},
        {"apply", {"open", "options 1 1", "wallpaper x.jpg", "style 0", "apply 7", "release"}},
    };
    for (const Case& c : cases) {
        FakeDesktopShell desktop;
        desktop.failAt = c.failAt;
        EXPECT_FALSE(ApplyWallpaper(desktop, "x.jpg")) << c.failAt;
        EXPECT_EQ(desktop.log, c.log) << c.failAt;
        EXPECT_EQ(desktop.liveSessions, 0) << c.failAt;
        EXPECT_EQ(desktop.wallpaper, "") << c.failAt;
    }
}

TEST_F(AppearanceTest, ThemeButtonOnOlderSystemsOnlyOpensThePanel) {
    RegKey::Create(fakes_.registry, kHkeyCurrentUser, kDwm);
    fakes_.display.bitsPerPixel = 16;
    // The panel's program by its full path in the system directory, quoted;
    // never by bare name, which would be looked for beside this program first.
    const std::string arguments = " Shell32,Control_RunDLL desk.cpl,appearance,@appearance";
    struct Case {
        VersionRecord version;
        std::string systemDirectory;
        std::string command;  // empty: nothing started
    } cases[] = {
        {{kPlatformWindowsNt, 5, 1, 2600, 3, 1}, "C:\\Windows\\system32",
         "\"C:\\Windows\\system32\\rundll32.exe\"" + arguments},
        {{kPlatformWindowsNt, 5, 2, 3790, 2, 3}, "D:\\My OS\\sys",
         "\"D:\\My OS\\sys\\rundll32.exe\"" + arguments},
        {{kPlatformWindows9x, 4, 10, 2222, 0, 0}, "C:\\WINDOWS\\SYSTEM",
         "\"C:\\WINDOWS\\SYSTEM\\rundll32.exe\"" + arguments},
        {{kPlatformWindows9x, 6, 0, 0, 0, 0}, "", ""},
    };
    for (const Case& c : cases) {
        fakes_.system.version = c.version;
        fakes_.environment.systemDirectory = c.systemDirectory;
        fakes_.shell.Clear();
        OpenThemeSettings(fakes_.Get());
        if (c.command.empty()) {
            EXPECT_TRUE(fakes_.shell.Commands().empty());
            continue;
        }
        ASSERT_EQ(fakes_.shell.Commands().size(), 1u);
        EXPECT_EQ(fakes_.shell.Commands()[0].commandLine, c.command);
        EXPECT_EQ(fakes_.shell.Commands()[0].showCommand, 5);
    }
    EXPECT_TRUE(fakes_.display.changes.empty());
    EXPECT_EQ(Value(kHkeyCurrentUser, kDwm, "Composition"), "absent");
    EXPECT_EQ(fakes_.workers.Started(), 0);
}

TEST_F(AppearanceTest, ThemeButtonOnWindows7) {
    struct Case {
        unsigned depth;
        bool dwmKey;
        std::vector<unsigned> changes;
    } cases[] = {{16, true, {32}}, {32, true, {}}, {24, false, {32}}, {8, false, {32}}};
    for (const Case& c : cases) {
        testing::FakePlatform fakes;
        if (c.dwmKey) RegKey::Create(fakes.registry, kHkeyCurrentUser, kDwm);
        fakes.display.bitsPerPixel = c.depth;
        fakes.services.Set("uxsms", kServiceRunning);
        OpenThemeSettings(fakes.Get());
        SCOPED_TRACE(c.depth);
        EXPECT_EQ(fakes.display.changes, c.changes);
        const char* names[] = {"EnableMachineCheck", "Composition", "CompositionPolicy",
                               "ColorizationOpaqueBlend"};
        const std::uint32_t values[] = {0, 1, 2, 1};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(ValueOf(fakes.registry, kHkeyCurrentUser, kDwm, names[i]),
                      c.dwmKey ? Dword(values[i]) : "absent");
        EXPECT_FALSE(c.dwmKey == false && RegKey::Open(fakes.registry, kHkeyCurrentUser, kDwm, kKeyRead));
        // The panel opens before the worker has done anything.
        ASSERT_EQ(fakes.shell.Commands().size(), 1u);
        EXPECT_EQ(fakes.workers.Pending(), 1u);
        EXPECT_TRUE(fakes.services.Calls().empty());
        fakes.workers.RunPending();
        EXPECT_EQ(fakes.services.Calls(), (Strings{"query uxsms", "stop uxsms", "start uxsms"}));
        EXPECT_EQ(fakes.environment.waits, (std::vector<unsigned>{2000, 2000}));
        EXPECT_EQ(fakes.registry.OpenHandleCount(), 0u);
    }
}

TEST_F(AppearanceTest, UnreadableDisplayModeIsLeftAlone) {
    fakes_.display.readable = false;
    fakes_.display.bitsPerPixel = 16;
    OpenThemeSettings(fakes_.Get());
    EXPECT_TRUE(fakes_.display.changes.empty());
    EXPECT_EQ(fakes_.shell.Commands().size(), 1u);
}

TEST_F(AppearanceTest, WorkerRestartsRunningServiceAndOnlyStartsStoppedOne) {
    struct Case {
        unsigned long state;  // 0: no such service
        bool failStop, failStart;
        Strings calls;
        std::vector<unsigned> waits;
        unsigned long after;
    } cases[] = {
        {kServiceRunning, false, false, {"query uxsms", "stop uxsms", "start uxsms"}, {2000, 2000}, kServiceRunning},
        {kServiceStopped, false, false, {"query uxsms", "start uxsms"}, {2000}, kServiceRunning},
        {kServiceRunning, true, false, {"query uxsms", "stop uxsms"}, {}, kServiceRunning},
        {kServiceRunning, false, true, {"query uxsms", "stop uxsms", "start uxsms"}, {2000}, kServiceStopped},
        {0, false, false, {"query uxsms", "start uxsms"}, {}, 0},
    };
    for (const Case& c : cases) {
        FakeServiceControl services;
        FakeEnvironment environment;
        if (c.state) services.Set("uxsms", c.state);
        services.failStop = c.failStop;
        services.failStart = c.failStart;
        EXPECT_EQ(RestartUxsmsService(services, environment), 0);
        EXPECT_EQ(services.Calls(), c.calls);
        EXPECT_EQ(environment.waits, c.waits);
        EXPECT_EQ(QueryServiceState(services, "uxsms"), c.after);
    }
}

}  // namespace
}  // namespace tv
