// The system facts and hardware rows over the real platform, compared with
// an independent reading of the same calls.
#include <windows.h>
#include <mmsystem.h>
#include <objbase.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include "platform/CodePageText.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemProbe.h"
#include "platform/win32/Win32Wmi.h"
#include "sysinfo/HardwareInventory.h"
#include "sysinfo/SystemFacts.h"

namespace tv {
namespace {

bool Matches(const std::string& text, const char* pattern) {
    return std::regex_match(text, std::regex(pattern));
}

class SystemInfoOnWine : public ::testing::Test {
protected:
    Win32SystemProbe probe;
    Win32Wmi wmi;
    Win32Drives drives;
    Win32Registry registry;
    SystemFacts facts{probe};
    HardwareQueries queries{wmi};
    HardwareInventory inventory{probe, drives, registry};
};

TEST_F(SystemInfoOnWine, FactsAreWellFormed) {
    OSVERSIONINFOEXA v{};
    v.dwOSVersionInfoSize = sizeof(v);
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&v)));
    const std::string os = facts.OsName();
    EXPECT_TRUE(Matches(os, "Windows [0-9A-Za-z /]+ \\[Build [0-9]+\\]")) << os;
    EXPECT_NE(os.find("[Build " + std::to_string(v.dwBuildNumber) + "]"), std::string::npos) << os;
    EXPECT_EQ(facts.ServicePack(), "Service Pack " + std::to_string(v.wServicePackMajor));

    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    ASSERT_TRUE(GetComputerNameA(name, &size));
    EXPECT_EQ(facts.ComputerName(), name);
    char user[257] = {};
    size = sizeof(user);
    ASSERT_TRUE(GetUserNameA(user, &size));
    EXPECT_EQ(facts.UserName(), user);
    EXPECT_FALSE(facts.UserName().empty());

    const ULONGLONG ms = GetTickCount64();
    char uptime[64];
    std::snprintf(uptime, sizeof uptime, "%lu 小时 %lu 分钟",
                  static_cast<unsigned long>(ms / 3600000), static_cast<unsigned long>(ms / 60000 % 60));
    const std::string shown = facts.Uptime();
    EXPECT_TRUE(shown == uptime || GetTickCount64() / 60000 != ms / 60000) << shown;

    // The test runs elevated in its prefix, in a normal boot.
    EXPECT_EQ(facts.UserRights(), "   [Admin 管理权限]");
    EXPECT_EQ(facts.BootMode(), "  [正常模式登录]");
}

TEST_F(SystemInfoOnWine, ProcessorAndVideoRowsCarryTheirUnits) {
    auto processor = queries.WmiClassQuery("Win32_Processor", WmiKind::Processor);
    ASSERT_TRUE(processor.has_value());
    EXPECT_TRUE(Matches(*processor, "[^ \t].*  -?[0-9]+ MHz")) << *processor;
    auto video = queries.WmiClassQuery("Win32_VideoController", WmiKind::VideoController);
    ASSERT_TRUE(video.has_value());
    EXPECT_TRUE(Matches(*video, ".*   [0-9]+ MB")) << *video;
    EXPECT_EQ(video->find("Secondary"), std::string::npos);
}

TEST_F(SystemInfoOnWine, MemorySoundAndDisksMatchTheirOwnCalls) {
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof(memory);
    ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
    EXPECT_EQ(inventory.MemoryText(),
              "物理 " + std::to_string((memory.ullTotalPhys >> 20) + 1) + " MB ");

    if (waveOutGetNumDevs() == 0) {
        EXPECT_EQ(inventory.SoundText(), "没有发现声音设备");
    } else {
        EXPECT_FALSE(inventory.SoundText().empty());
    }

    std::uint32_t megabytes = 0;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        ULARGE_INTEGER total{};
        if (GetDriveTypeA(root.c_str()) == DRIVE_FIXED &&
            GetDiskFreeSpaceExA(root.c_str(), nullptr, &total, nullptr))
            megabytes += static_cast<std::uint32_t>(total.QuadPart >> 20);
    }
    queries.WmiClassQuery("Win32_DiskDrive", WmiKind::DiskDrive);
    const std::string disk = inventory.HardDiskText(queries.DiskModel());
    EXPECT_EQ(disk, queries.DiskModel() + "  总容量 " + std::to_string(megabytes / 1024) + " GB");
    EXPECT_EQ(DriveTotalMegabytes(drives, "C:\\") > 0, true);
    EXPECT_EQ(DriveTotalMegabytes(drives, "B:\\"), 0u);
}

TEST_F(SystemInfoOnWine, QueriesLeaveTheThreadsOwnComSetUpAlone) {
    // The program's thread runs in a single-threaded apartment for the whole
    // run; a query's own (refused) multithreaded set-up must not undo it.
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    for (int run = 0; run < 3; ++run)
        EXPECT_TRUE(queries.WmiClassQuery("Win32_Processor", WmiKind::Processor).has_value());
    const HRESULT again = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(again, S_FALSE) << std::hex << again;  // still initialised
    if (SUCCEEDED(again)) CoUninitialize();
    OleUninitialize();
    // And on a thread without COM, each run takes its set-up down again.
    queries.WmiClassQuery("Win32_Processor", WmiKind::Processor);
    const HRESULT fresh = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(fresh, S_OK) << std::hex << fresh;
    if (SUCCEEDED(fresh)) CoUninitialize();
}

TEST_F(SystemInfoOnWine, OpticalDrivesFollowTheCdromKey) {
    HKEY key = nullptr;
    const bool hasKey = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Cdrom\\Enum",
                                      0, KEY_READ, &key) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    const std::string drivesText = inventory.OpticalDrivesText();
    if (!hasKey) {
        EXPECT_EQ(drivesText, "");
    } else {
        EXPECT_TRUE(drivesText.empty() || drivesText.back() == '\n');
    }
}

// The DLLs used now and then are taken from the system directory, by
// full path, or not at all.
TEST(SystemFunctions, ComeFromTheSystemDirectoryOrNowhere) {
    const struct {
        const char* dll;
        const char* name;
        bool found;
    } cases[] = {
        {"version.dll", "VerQueryValueA", true},
        {"winmm.dll", "waveOutGetNumDevs", true},
        {"msimg32.dll", "GradientFill", true},
        {"comctl32.dll", "ImageList_Create", true},
        {"version.dll", "TvNoSuchFunction", false},
        {"tv-no-such-library.dll", "VerQueryValueA", false},
    };
    char system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.dll) + " " + c.name);
        const FARPROC function = SystemFunction(c.dll, c.name);
        EXPECT_EQ(function != nullptr, c.found);
        if (function == nullptr) continue;
        HMODULE module = nullptr;
        ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                       reinterpret_cast<LPCSTR>(function), &module));
        char path[MAX_PATH] = {};
        GetModuleFileNameA(module, path, MAX_PATH);
        // Forwarded functions (GradientFill) live in another system DLL.
        const std::string file = path;
        EXPECT_TRUE(text::EqualsNoCase(file.substr(0, text::FindLastChar(file, '\\')), system)) << file;
    }
}

}  // namespace
}  // namespace tv
