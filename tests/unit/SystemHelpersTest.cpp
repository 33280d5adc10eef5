#include <gtest/gtest.h>

#include <string>

#include "manage/FileVersionInfo.h"
#include "manage/SystemHelpers.h"
#include "platform/CodePageText.h"
#include "platform/SystemFolders.h"
#include "platform/fake/FakeEnvironment.h"
#include "tests/support/FakePlatform.h"
#include "platform/fake/FakeSystemProbe.h"
#include "platform/fake/FakeTokens.h"
#include "platform/fake/FakeVersionResources.h"

namespace tv {
namespace {

TEST(FormatGroupedNumber, GroupsDigitsFromTheRight) {
    struct Case {
        std::uint32_t value;
        char separator;
        unsigned group;
        const char* expected;
    } cases[] = {
        {0, ',', 3, "0"},
        {7, ',', 3, "7"},
        {999, ',', 3, "999"},
        {1000, ',', 3, "1,000"},
        {1234567, ',', 3, "1,234,567"},
        {100000, ',', 3, "100,000"},
        {4294967295u, ',', 3, "4,294,967,295"},
        {12345678, '.', 4, "1234.5678"},
        {12345, ' ', 1, "1 2 3 4 5"},
        {12345, ',', 0, "12345"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatGroupedNumber(c.value, c.separator, c.group), c.expected) << c.value;
}

TEST(EnablePrivilege, AdjustsTheOwnTokenAndClosesIt) {
    struct Case {
        const char* name;
        bool enable;
        bool failOpen;
        bool failAdjust;
        bool result;
        std::uint32_t attributes;  // of the one adjustment made, if any
    } cases[] = {
        {"SeDebugPrivilege", true, false, false, true, kSePrivilegeEnabled},
        {"SeDebugPrivilege", false, false, false, true, 0},
        {"sedebugprivilege", true, false, false, true, kSePrivilegeEnabled},
        {"SeNoSuchPrivilege", true, false, false, false, 0},
        {"SeDebugPrivilege", true, true, false, false, 0},
        {"SeDebugPrivilege", true, false, true, false, 0},
    };
    for (const Case& c : cases) {
        FakeTokens tokens;
        tokens.failOpen = c.failOpen;
        tokens.failAdjust = c.failAdjust;
        EXPECT_EQ(EnablePrivilege(tokens, c.name, c.enable), c.result) << c.name;
        EXPECT_EQ(tokens.OpenTokens(), 0u) << c.name;
        ASSERT_EQ(tokens.openAccess.size(), 1u);
        EXPECT_EQ(tokens.openAccess[0], 0x20028u);
        if (c.result) {
            ASSERT_EQ(tokens.adjustments.size(), 1u);
            EXPECT_EQ(tokens.adjustments[0].luid, 20u);
            EXPECT_EQ(tokens.adjustments[0].attributes, c.attributes);
        } else {
            EXPECT_TRUE(tokens.adjustments.empty());
        }
    }
}

TEST(SystemDirectories, ComeFromThePlatform) {
    FakeEnvironment environment;
    environment.systemDirectory = "D:\\WIN\\system32";
    environment.windowsDirectory = "D:\\WIN";
    EXPECT_EQ(GetSystemDirectoryPath(environment), "D:\\WIN\\system32");
    EXPECT_EQ(GetWindowsDirectoryPath(environment), "D:\\WIN");
    environment.systemDirectory.clear();
    EXPECT_EQ(GetSystemDirectoryPath(environment), "");
}

// The folders come from the environment and the bitness from the system probe:
// a 32-bit Windows 7 is never taken for a 64-bit one.
TEST(SystemDirectories, FoldersAndBitnessOfTheRunningSystem) {
    for (const bool is64 : {false, true}) {
        FakeEnvironment environment;
        environment.windowsDirectory = "D:\\WIN";
        environment.systemDirectory = "D:\\WIN\\system32";
        FakeSystemProbe system;
        system.is64BitSystem = is64;
        testing::FakePlatform fakes;
        Platform platform = fakes.Get();
        platform.environment = environment;
        platform.system = system;
        const SystemFolders folders = SystemFoldersOf(platform);
        EXPECT_EQ(folders.windows, "D:\\WIN");
        EXPECT_EQ(folders.system, "D:\\WIN\\system32");
        EXPECT_EQ(folders.system64, is64);
    }
}

// A 32-bit build on 64-bit Windows reaches the real system directory only
// through its Sysnative alias; nothing else is renamed.
TEST(SystemDirectories, NativePathsGoThroughSysnativeOnlyFromA32BitBuildOn64BitWindows) {
    const SystemFolders wow64{"C:\\Windows", "C:\\Windows\\system32", true, false};
    struct Case {
        SystemFolders folders;
        const char* path;
        const char* native;
    } cases[] = {
        {wow64, "C:\\Windows\\system32\\drivers\\x.sys", "C:\\Windows\\Sysnative\\drivers\\x.sys"},
        {wow64, "c:\\windows\\SYSTEM32\\svchost.exe", "C:\\Windows\\Sysnative\\svchost.exe"},
        {wow64, "C:\\Windows\\system32", "C:\\Windows\\Sysnative"},
        {wow64, "C:\\Windows\\system32x\\a.exe", "C:\\Windows\\system32x\\a.exe"},
        {wow64, "C:\\Windows\\SysWOW64\\a.exe", "C:\\Windows\\SysWOW64\\a.exe"},
        {wow64, "C:\\Program Files\\a.exe", "C:\\Program Files\\a.exe"},
        {{"C:\\Windows", "C:\\Windows\\system32", true, true}, "C:\\Windows\\system32\\a.exe",
         "C:\\Windows\\system32\\a.exe"},
        {{"C:\\Windows", "C:\\Windows\\system32", false, false}, "C:\\Windows\\system32\\a.exe",
         "C:\\Windows\\system32\\a.exe"},
        {{"", "", true, false}, "C:\\Windows\\system32\\a.exe", "C:\\Windows\\system32\\a.exe"},
    };
    for (const Case& c : cases) EXPECT_EQ(NativeSystemPath(c.folders, c.path), c.native) << c.path;
}

class FileVersionInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        resources.AddFile("C:\\app.exe", {0x080404B0, 0x040904E4});
        resources.AddText("C:\\app.exe", "\\StringFileInfo\\080404b0\\FileDescription", "应用程序");
        resources.AddText("C:\\app.exe", "\\StringFileInfo\\080404b0\\CompanyName", "Maker");
        resources.AddText("C:\\app.exe", "\\StringFileInfo\\080404b0\\FileVersion", "1.2.3.4");
        resources.AddText("C:\\app.exe", "\\StringFileInfo\\040904e4\\FileDescription", "Application");
        resources.AddFile("C:\\us.exe", {0x040904E4});
        resources.AddText("C:\\us.exe", "\\StringFileInfo\\040904e4\\CompanyName", "US Maker");
        resources.AddFile("C:\\bare.exe");
    }
    FakeVersionResources resources;
};

TEST_F(FileVersionInfoTest, ReadsFieldsUnderTheFirstTranslation) {
    FileVersionInfo info(resources);
    EXPECT_FALSE(info.HasData());
    EXPECT_EQ(info.Translation(), 0u);
    ASSERT_TRUE(info.Open("C:\\app.exe"));
    EXPECT_EQ(info.Translation(), 0x080404B0u);
    EXPECT_EQ(info.GetFileDescription(), "应用程序");
    EXPECT_EQ(info.GetCompanyName(), "Maker");
    EXPECT_EQ(info.GetFileVersion(), "1.2.3.4");
    EXPECT_EQ(info.GetString("FileDescription", 0x040904E4), "Application");
    EXPECT_EQ(info.GetString("ProductName"), "");
    EXPECT_EQ(resources.Queries().front(), "\\StringFileInfo\\080404b0\\FileDescription");
    info.Release();
    EXPECT_FALSE(info.HasData());
    EXPECT_EQ(info.Translation(), 0u);
    EXPECT_EQ(info.GetFileDescription(), "");

    ASSERT_TRUE(info.Open("C:\\us.exe"));
    EXPECT_EQ(info.GetCompanyName(), "US Maker");
    EXPECT_EQ(resources.Queries().back(), "\\StringFileInfo\\040904e4\\CompanyName");
}

TEST_F(FileVersionInfoTest, FailedOpenLeavesItEmptyAndTheFileAlone) {
    for (const char* path : {"C:\\missing.exe", "C:\\bare.exe"}) {
        FileVersionInfo info(resources);
        EXPECT_FALSE(info.Open(path)) << path;
        EXPECT_FALSE(info.HasData());
        EXPECT_EQ(info.Translation(), 0u);
        int loads = resources.Loads();
        size_t queries = resources.Queries().size();
        EXPECT_EQ(info.GetFileDescription(), "");
        EXPECT_EQ(info.GetString("CompanyName", 0x040904E4), "");
        EXPECT_EQ(resources.Loads(), loads);
        EXPECT_EQ(resources.Queries().size(), queries);
    }
}

TEST(CodePageFind, MatchesOnlyWholeCharacters) {
    struct Case {
        std::string hay, needle;
        size_t expected;
    } cases[] = {
        {"abc.exe", ".exe", 3},
        {"旹xe.exe", "Exe", text::npos},  // 'E' is the trail byte of 旹
        {"旹xe.Exe", "Exe", 5},
        {"a昞b", "\\", text::npos},         // '\' is the trail byte of 昞
        {"a昞b\\", "\\", 4},
        {"", "x", text::npos},
        {"abc", "", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(text::Find(c.hay, c.needle), c.expected) << c.hay;
    // From the end: only the empty text is found there; past it, nothing.
    EXPECT_EQ(text::Find("abc", "", 3), 3u);
    EXPECT_EQ(text::Find("abc", "", 4), text::npos);
    EXPECT_EQ(text::FindNoCase("abc", "", 3), 3u);
    EXPECT_EQ(text::FindNoCase("abc", "", 4), text::npos);
    EXPECT_EQ(text::ReplaceAll("%a%旹%a%", "%a%", "XY"), "XY旹XY");
    EXPECT_EQ(text::ReplaceAll("怱S怱S", "S", ""), "怱怱");
    EXPECT_EQ(text::PreviousCharStart("a旹:", 3), 1u);
    EXPECT_EQ(text::PreviousCharStart("ab:", 2), 1u);
    EXPECT_EQ(text::PreviousCharStart("ab", 0), 0u);
}

}  // namespace
}  // namespace tv
