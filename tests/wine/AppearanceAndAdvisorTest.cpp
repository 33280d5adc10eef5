// The appearance tweaks and the install advisor against the real platform:
// what they write is read back with the registry's own calls, and the
// advisor's report is compared with a reading of the drives made here.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "links/HelpActions.h"
#include "tests/support/FakePlatform.h"
#include "platform/fake/FakePrompter.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32DesktopShell.h"
#include "platform/win32/Win32DisplaySettings.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemProbe.h"
#include "platform/win32/Win32TextCodec.h"
#include "platform/win32/BackgroundThreads.h"
#include "platform/win32/Win32WorkerThreads.h"
#include "tests/support/AdvisorReading.h"
#include "tweaks/AppearanceTweaks.h"

namespace tv {
namespace {

// A value read with the registry's own calls: type and bytes, or absent.
struct RawValue {
    bool present = false;
    DWORD type = 0;
    std::vector<unsigned char> data;
};

RawValue ReadRaw(HKEY root, const char* path, const char* name) {
    RawValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        if (RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size) ==
            ERROR_SUCCESS) {
            value.present = true;
            value.data.resize(size);
        }
    }
    RegCloseKey(key);
    return value;
}

DWORD DwordOf(const RawValue& value) {
    DWORD result = 0xFFFFFFFF;
    if (value.present && value.type == REG_DWORD && value.data.size() == 4)
        memcpy(&result, value.data.data(), 4);
    return result;
}

const char kUserExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

TEST(AppearanceOnWine, DesktopTweaksWriteTheRealRegistry) {
    Win32Registry registry;
    Win32DesktopShell desktop;
    // The Explorer key must exist for "Link" to be written.
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kUserExplorer, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &created, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(created);

    for (bool on : {false, true, false}) {
        ApplyDesktopTweaks(registry, desktop, {on, on, on, on});
        RawValue link = ReadRaw(HKEY_CURRENT_USER, kUserExplorer, "Link");
        RawValue isShortcut = ReadRaw(HKEY_CLASSES_ROOT, "lnkfile", "IsShortcut");
        if (on) {
            ASSERT_TRUE(link.present);
            EXPECT_EQ(link.type, static_cast<DWORD>(REG_BINARY));
            EXPECT_EQ(link.data, std::vector<unsigned char>(4, 0));
            EXPECT_FALSE(isShortcut.present);
        } else {
            EXPECT_FALSE(link.present);
            ASSERT_TRUE(isShortcut.present);
            EXPECT_EQ(isShortcut.type, static_cast<DWORD>(REG_SZ));
            EXPECT_EQ(isShortcut.data, std::vector<unsigned char>(1, 0));
        }
        EXPECT_EQ(DwordOf(ReadRaw(HKEY_LOCAL_MACHINE,
                                  "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer",
                                  "Max Cached Icons")),
                  on ? 4089u : 1024u);
        EXPECT_EQ(DwordOf(ReadRaw(HKEY_CURRENT_USER, "Software\\Microsoft\\Search Assistant",
                                  "UseAdvancedSearchAlways")),
                  on ? 1u : 0u);
        for (const char* name : {"SearchSystemDirs", "SearchHidden", "IncludeSubFolders"})
            EXPECT_EQ(DwordOf(ReadRaw(HKEY_CURRENT_USER, kUserExplorer, name)), 1u) << name;
        EXPECT_EQ(DwordOf(ReadRaw(HKEY_CURRENT_USER, "Control Pane\\Desktop",
                                  "FeedbackToolEnabled")),
                  on ? 1u : 0u);
    }
}

TEST(AppearanceOnWine, GlassValuesOnlyWhereTheKeyExists) {
    Win32Registry registry;
    const char kDwm[] = "Software\\Microsoft\\Windows\\DWM";
    RegDeleteKeyA(HKEY_CURRENT_USER, kDwm);
    testing::FakePlatform fakes;
    Platform platform = fakes.Get();
    platform.registry = registry;
    Win32SystemProbe system;
    platform.system = system;
    // What the restore file needs; a box would mean it could not be written.
    Win32FileSystem files;
    Win32Environment environment;
    Win32Clock clock;
    Win32TextCodec codec;
    FakePrompter prompter;
    platform.files = files;
    platform.environment = environment;
    platform.clock = clock;
    platform.codec = codec;
    platform.prompter = prompter;
    OpenThemeSettings(platform);  // no shell, display or workers: registry only
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kDwm, 0, KEY_READ, &key), ERROR_SUCCESS);

    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kDwm, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    OpenThemeSettings(platform);
    EXPECT_EQ(DwordOf(ReadRaw(HKEY_CURRENT_USER, kDwm, "EnableMachineCheck")), 0u);
    EXPECT_EQ(DwordOf(ReadRaw(HKEY_CURRENT_USER, kDwm, "Composition")), 1u);
    EXPECT_EQ(DwordOf(ReadRaw(HKEY_CURRENT_USER, kDwm, "CompositionPolicy")), 2u);
    EXPECT_EQ(DwordOf(ReadRaw(HKEY_CURRENT_USER, kDwm, "ColorizationOpaqueBlend")), 1u);
    EXPECT_TRUE(prompter.Prompts().empty());
    RegDeleteKeyA(HKEY_CURRENT_USER, kDwm);
}

TEST(AppearanceOnWine, DisplayAndActiveDesktop) {
    unsigned bits = 0;
    ASSERT_TRUE(Win32DisplaySettings().CurrentBitsPerPixel(&bits));
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    EXPECT_EQ(bits, mode.dmBitsPerPel);

    // Wine's object exists but sets no wallpaper: the failure is reported and
    // the object and COM are released on the way out, every time.
    Win32DesktopShell desktop;
    for (int i = 0; i < 3; ++i) {
        std::unique_ptr<ActiveDesktopSession> session = desktop.OpenActiveDesktop();
        ASSERT_TRUE(session);
        EXPECT_FALSE(session->SetWallpaper(std::string(400, 'x')));  // does not fit
    }
    ApplyWallpaper(desktop, "C:\\windows\\nothing.bmp");
    // COM is balanced: a fresh initialisation on this thread is the first one.
    HRESULT first = CoInitialize(nullptr);
    EXPECT_EQ(first, S_OK);
    if (SUCCEEDED(first)) CoUninitialize();
}

TEST(AppearanceOnWine, WorkerThreadRunsAndIsWaitedForAtTheEnd) {
    LONG ran = 0;
    Win32WorkerThreads workers;
    ASSERT_TRUE(workers.Start([&ran] {
        Sleep(200);
        InterlockedIncrement(&ran);
    }));
    EXPECT_EQ(ran, 0);  // the caller did not wait
    EXPECT_TRUE(EndBackgroundThreads(2000));
    EXPECT_EQ(ran, 1);  // the end of the program waits for it
}

TEST(AdvisorOnWine, ReportMatchesTheRealDrives) {
    Win32Drives drives;
    std::string report;
    EXPECT_TRUE(testing::ReportMatchesTheDrives([&] { return RecommendPartition(drives); }, &report))
        << report << " / " << testing::IndependentAdvice();
    // C: is NTFS in every prefix, so no complaint about its file system.
    EXPECT_EQ(VolumeFileSystemName(drives, "C:\\"), "NTFS");
    EXPECT_EQ(report.find("您的系统分区不为NTFS"), std::string::npos);
    EXPECT_EQ(VolumeFileSystemName(drives, "B:\\"), "null");
    EXPECT_EQ(DriveFreeMegabytes(drives, "B:\\"), 0);
}

}  // namespace
}  // namespace tv
