// Shortcuts, version resources and the program's token behave alike over
// the fakes and the real system.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "manage/FileVersionInfo.h"
#include "manage/SystemHelpers.h"
#include "platform/CodePageText.h"
#include "tests/contract/SystemSeamsUnderTest.h"

namespace {

class SystemSeamsContract : public ::testing::Test {
protected:
    void SetUp() override { t = MakeSystemSeamsUnderTest(); }
    std::string In(const std::string& name) const { return t->scratch + "\\" + name; }
    std::unique_ptr<SystemSeamsUnderTest> t;
};

TEST_F(SystemSeamsContract, ShortcutsGiveTheirTargets) {
    const std::string target = In("\xD6\xD0\xCE\xC4 tool.exe");  // 中文 tool.exe
    t->MakeFile(target);
    t->MakeShortcut(In("tool.lnk"), target);
    std::string read = "untouched";
    ASSERT_TRUE(t->links->ReadTarget(In("tool.lnk"), &read));
    EXPECT_TRUE(tv::text::EqualsNoCase(read, target)) << read;

    // Lower-cased, as the startup scan passes it.
    read.clear();
    ASSERT_TRUE(t->links->ReadTarget(tv::text::ToLower(In("tool.lnk")), &read));
    EXPECT_TRUE(tv::text::EqualsNoCase(read, target)) << read;

    read = "untouched";
    EXPECT_FALSE(t->links->ReadTarget(In("missing.lnk"), &read));
    EXPECT_EQ(read, "untouched");
    t->MakeFile(In("plain.lnk"));
    EXPECT_FALSE(t->links->ReadTarget(In("plain.lnk"), &read));
    EXPECT_EQ(read, "untouched");

    // Read together, each as alone; one that cannot be loaded leaves
    // nothing behind for the next.
    const std::string other = In("other.exe");
    t->MakeFile(other);
    t->MakeShortcut(In("other.lnk"), other);
    auto targets = t->links->ReadTargets(
        {In("tool.lnk"), In("plain.lnk"), In("other.lnk"), In("missing.lnk")});
    ASSERT_EQ(targets.size(), 4u);
    ASSERT_TRUE(targets[0].has_value());
    EXPECT_TRUE(tv::text::EqualsNoCase(*targets[0], target)) << *targets[0];
    EXPECT_FALSE(targets[1].has_value());
    ASSERT_TRUE(targets[2].has_value());
    EXPECT_TRUE(tv::text::EqualsNoCase(*targets[2], other)) << *targets[2];
    EXPECT_FALSE(targets[3].has_value());
    EXPECT_TRUE(t->links->ReadTargets({}).empty());

    // A name outside the code page (Hangul) is read by its exact path.
    const std::u16string hangul =
        std::u16string(t->scratch.begin(), t->scratch.end()) + u"\\\uCE74\uCE74\uC624.lnk";
    t->MakeShortcut(hangul, other);
    targets = t->links->ReadTargetsW({hangul, hangul.substr(0, hangul.size() - 5) + u".lnk"});
    ASSERT_EQ(targets.size(), 2u);
    ASSERT_TRUE(targets[0].has_value());
    EXPECT_TRUE(tv::text::EqualsNoCase(*targets[0], other)) << *targets[0];
    EXPECT_FALSE(targets[1].has_value());
    EXPECT_FALSE(t->links->ReadTarget(In("???.lnk"), &read));

    // A stop asked before each shortcut ends the reading there.
    int asked = 0;
    targets = t->links->ReadTargetsW({hangul, hangul, hangul}, [&asked] { return ++asked > 1; });
    ASSERT_EQ(targets.size(), 1u);
    EXPECT_TRUE(targets[0].has_value());
    EXPECT_TRUE(t->links->ReadTargetsW({hangul}, [] { return true; }).empty());
}

TEST_F(SystemSeamsContract, VersionResourceOfASystemDll) {
    tv::FileVersionInfo info(*t->versions);
    ASSERT_TRUE(info.Open(t->versionedFile));
    EXPECT_EQ(info.Translation(), 0x080404B0u);
    EXPECT_FALSE(info.GetFileDescription().empty());
    EXPECT_EQ(info.GetString("FileDescription", 0x080404B0), info.GetFileDescription());
    EXPECT_EQ(info.GetString("NoSuchField"), "");
    tv::VersionBlock block;
    ASSERT_TRUE(t->versions->Load(t->versionedFile, &block));
    std::string text = "kept";
    EXPECT_FALSE(t->versions->QueryText(block, "\\StringFileInfo\\080404b0\\NoSuchField", &text));
    EXPECT_EQ(text, "kept");
    info.Release();
    EXPECT_EQ(info.GetFileDescription(), "");

    t->MakeFile(In("plain.txt"));
    EXPECT_FALSE(info.Open(In("plain.txt")));
    EXPECT_FALSE(info.Open(In("missing.dll")));
    EXPECT_FALSE(t->versions->Load(In("missing.dll"), &block));
    EXPECT_EQ(info.GetFileDescription(), "");
}

TEST_F(SystemSeamsContract, PrivilegesOfTheOwnToken) {
    EXPECT_TRUE(tv::EnablePrivilege(*t->tokens, "SeDebugPrivilege", true));
    EXPECT_TRUE(tv::EnablePrivilege(*t->tokens, "SeShutdownPrivilege", false));
    EXPECT_FALSE(tv::EnablePrivilege(*t->tokens, "SeNoSuchPrivilege", true));
}

}  // namespace
