// The security tab's logic against fakes: the User Account Control state
// read and switched, and the browser started without add-ons.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/FakePlatform.h"
#include "tweaks/BrowserLaunch.h"
#include "tweaks/UacSwitch.h"

namespace tv {
namespace {

const char kPolicyKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

void SetPolicy(FakeRegistry& registry, std::uint32_t type, const std::string& bytes) {
    RegKey::Create(registry, kHkeyLocalMachine, kPolicyKey)
        .Set("EnableLUA", type, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

// The value as stored: type and bytes, or "missing".
std::string StoredPolicy(FakeRegistry& registry) {
    RegKey key = RegKey::Open(registry, kHkeyLocalMachine, kPolicyKey, kKeyRead);
    unsigned char bytes[16] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof bytes;
    if (key.Query("EnableLUA", &type, bytes, &size) != kErrorSuccess) return "missing";
    std::string text = std::to_string(type) + ":";
    for (std::uint32_t i = 0; i < size; ++i) text += std::to_string(bytes[i]) + ",";
    return text;
}

TEST(UacSwitch, OnlyAFourByteOneReadsAsOn) {
    struct Case {
        const char* label;
        bool present;
        std::uint32_t type;
        std::string bytes;
        bool on;
    } cases[] = {
        {"dword 1", true, kRegDword, std::string("\1\0\0\0", 4), true},
        {"dword 0", true, kRegDword, std::string("\0\0\0\0", 4), false},
        {"dword 2", true, kRegDword, std::string("\2\0\0\0", 4), false},
        {"missing", false, 0, "", false},
        {"binary 1 of 4 bytes", true, kRegBinary, std::string("\1\0\0\0", 4), true},
        {"one byte 1", true, kRegBinary, std::string("\1", 1), false},
        {"qword 1", true, 11, std::string("\1\0\0\0\0\0\0\0", 8), false},
        {"string 1", true, kRegSz, std::string("1\0", 2), false},
    };
    for (const Case& c : cases) {
        FakeRegistry registry;
        if (c.present) SetPolicy(registry, c.type, c.bytes);
        UacSwitch uac(registry);
        EXPECT_FALSE(uac.Enabled()) << "before the first read";
        EXPECT_EQ(uac.Read(), c.on) << c.label;
        EXPECT_EQ(uac.Enabled(), c.on) << c.label;
        EXPECT_EQ(registry.OpenHandleCount(), 0u);
    }
}

TEST(UacSwitch, PressesWriteTheOppositeDwordAndReRead) {
    struct Case {
        const char* label;
        bool present;
        std::string bytes;
        const char* afterFirst;
        bool onAfterFirst;
        const char* afterSecond;
    } cases[] = {
        {"from 1", true, std::string("\1\0\0\0", 4), "4:0,0,0,0,", false, "4:1,0,0,0,"},
        {"missing", false, "", "4:1,0,0,0,", true, "4:0,0,0,0,"},
        {"from 2", true, std::string("\2\0\0\0", 4), "4:1,0,0,0,", true, "4:0,0,0,0,"},
    };
    for (const Case& c : cases) {
        FakeRegistry registry;
        if (c.present) SetPolicy(registry, kRegDword, c.bytes);
        UacSwitch uac(registry);
        uac.Read();
        EXPECT_EQ(uac.Toggle(), c.onAfterFirst) << c.label;
        EXPECT_EQ(StoredPolicy(registry), c.afterFirst) << c.label;
        EXPECT_EQ(uac.Toggle(), !c.onAfterFirst) << c.label;
        EXPECT_EQ(StoredPolicy(registry), c.afterSecond) << c.label;
        EXPECT_EQ(registry.OpenHandleCount(), 0u);
    }
}

TEST(UacSwitch, PressBeforeAnyReadSwitchesOn) {
    FakeRegistry registry;
    SetPolicy(registry, kRegDword, std::string("\1\0\0\0", 4));
    UacSwitch uac(registry);  // the state last read is "off" until a read
    EXPECT_TRUE(uac.Toggle());
    EXPECT_EQ(StoredPolicy(registry), "4:1,0,0,0,");
}

TEST(BrowserLaunch, StartsIexploreMaximisedWithoutAddons) {
    testing::FakePlatform fakes;
    fakes.environment.programFilesFolder = "C:\\Program Files";
    // Whoever starts the program sets its variables: this one is not used.
    fakes.environment.variables["ProgramFiles"] = "C:\\Planted";
    EXPECT_TRUE(StartBrowserWithoutAddons(fakes.environment, fakes.shell));
    ASSERT_EQ(fakes.shell.Launches().size(), 1u);
    const ShellLaunch& launch = fakes.shell.Launches()[0];
    EXPECT_EQ(launch.verb, "");
    EXPECT_EQ(launch.file, "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"");
    EXPECT_EQ(launch.parameters, " -extoff");
    EXPECT_EQ(launch.directory, "");
    EXPECT_EQ(launch.showCommand, kSwShowMaximized);
}

TEST(BrowserLaunch, NothingStartsWithoutAFullProgramFilesFolder) {
    // None, or not a full path: relative to the current drive or directory.
    // A planted variable does not stand in for the folder.
    const std::string values[] = {"", "Program Files", "\\Program Files", "C:Program Files", "C:",
                                  "1:\\x", "\\", "@:\\x", "[:\\x", "`:\\x", "{:\\x"};
    for (const auto& value : values) {
        testing::FakePlatform fakes;
        fakes.environment.programFilesFolder = value;
        fakes.environment.variables["ProgramFiles"] = "C:\\Program Files";
        EXPECT_FALSE(StartBrowserWithoutAddons(fakes.environment, fakes.shell)) << value;
        EXPECT_TRUE(fakes.shell.Launches().empty());
        EXPECT_TRUE(fakes.shell.Commands().empty());
    }
}

TEST(BrowserLaunch, AFailedStartIsOnlyReportedToTheCaller) {
    testing::FakePlatform fakes;
    fakes.environment.programFilesFolder = "D:\\Apps";
    fakes.shell.launchResult = false;
    // (Other full paths are started: a UNC share, a lower-case drive.)
    for (const char* full : {"\\\\server\\apps", "z:\\Apps", "a:\\Apps", "A:\\Apps", "Z:\\Apps"}) {
        testing::FakePlatform other;
        other.environment.programFilesFolder = full;
        EXPECT_TRUE(StartBrowserWithoutAddons(other.environment, other.shell)) << full;
        ASSERT_EQ(other.shell.Launches().size(), 1u);
        EXPECT_EQ(other.shell.Launches()[0].file,
                  "\"" + std::string(full) + "\\Internet Explorer\\iexplore.exe\"");
    }
    EXPECT_FALSE(StartBrowserWithoutAddons(fakes.environment, fakes.shell));
    EXPECT_TRUE(fakes.prompter.Prompts().empty());
}

TEST(BrowserLaunch, StartsThroughTheDesktopShellWhenThereIsOne) {
    // Only the desktop shell (the user's rights) starts it. Without one it
    // is never started from this elevated process: the user is told the
    // command to run.
    struct Case {
        bool desktop;
        bool ownResult;
        size_t viaDesktop;
        size_t prompts;
    } cases[] = {
        {true, false, 1, 0},
        {false, true, 0, 1},
        {false, false, 0, 1},
    };
    for (const Case& c : cases) {
        testing::FakePlatform fakes;
        fakes.userShell.available = c.desktop;
        fakes.shell.launchResult = c.ownResult;
        EXPECT_TRUE(StartBrowserWithoutAddons(fakes.environment, *fakes.Get().shell));
        ASSERT_EQ(fakes.userShell.Asked().size(), 1u);
        ASSERT_EQ(fakes.userShell.Launches().size(), c.viaDesktop);
        EXPECT_TRUE(fakes.shell.Launches().empty());
        EXPECT_TRUE(fakes.shell.Requests().empty());
        EXPECT_TRUE(fakes.shell.Commands().empty());
        EXPECT_TRUE(fakes.shell.Processes().empty());
        const ShellLaunch& launch = fakes.userShell.Asked()[0];
        EXPECT_EQ(launch.file, "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"");
        EXPECT_EQ(launch.parameters, " -extoff");
        EXPECT_EQ(launch.verb, "");
        EXPECT_EQ(launch.directory, "");
        EXPECT_EQ(launch.showCommand, kSwShowMaximized);
        ASSERT_EQ(fakes.prompter.Prompts().size(), c.prompts);
        if (c.prompts) {
            EXPECT_EQ(fakes.prompter.Prompts()[0].text,
                      "无法通过桌面启动，请自行运行以下命令：\n"
                      "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -extoff");
        }
    }
    // Command lines are never handed to the desktop shell.
    testing::FakePlatform fakes;
    fakes.userShell.available = true;
    EXPECT_TRUE(fakes.Get().shell->Run("regsvr32 /s x.dll", kSwHide));
    ASSERT_EQ(fakes.shell.Commands().size(), 1u);
    EXPECT_EQ(fakes.shell.Commands()[0].commandLine, "regsvr32 /s x.dll");
    EXPECT_TRUE(fakes.userShell.Launches().empty());
}

}  // namespace
}  // namespace tv
