// Switching add-ons off and on through Internet Explorer's per-user
// setting, against fakes: the Flags value written with the browser's other
// bits kept, the way back, what the list shows, the restore file, and the
// refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manage/AddonRemoval.h"
#include "manage/AddonScan.h"
#include "manage/AddonSwitch.h"
#include "manage/NameCheck.h"
#include "tests/support/RegFile.h"
#include "restore/RestoreFiles.h"
#include "platform/WideText.h"
#include "tests/contract/RegistryDump.h"
#include "tests/support/AddonTexts.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

using namespace testing;  // the expected add-on texts

const char kSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings";

class AddonSwitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegKey::Create(registry_, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{B1}");
        RegKey::Create(registry_, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{B2}");
        RegKey::Create(registry_, kHkeyClassesRoot, "CLSID\\{B1}").SetString("", "Helper One");
        RegKey::Create(registry_, kHkeyClassesRoot, "CLSID\\{B2}").SetString("", "FlashGet");
        RegKey::Create(registry_, kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion");
    }
    static AddonRow Helper(const char* id, const char* shown = "Helper One") {
        return {id, shown, kHelperType, "", 1};
    }
    void Switch(const std::vector<AddonRow>& rows, bool enable) { SwitchAddons(fakes_.Get(), rows, enable); }
    std::vector<std::string> User() { return tvtest::DumpTree(registry_, kHkeyCurrentUser, "Software"); }
    std::vector<std::string> Setting(const std::string& id) {
        return tvtest::DumpTree(registry_, kHkeyCurrentUser, std::string(kSettings) + "\\" + id);
    }
    std::vector<FolderEntry> RestoreFiles() {
        std::vector<FolderEntry> kept;
        fakes_.files.ListFolder(RestoreFolderPath(fakes_.Get()), &kept);
        return kept;
    }
    std::string RestoreBytes() {
        const std::vector<FolderEntry> kept = RestoreFiles();
        if (kept.size() != 1) return "(" + std::to_string(kept.size()) + " files)";
        return fakes_.files.Contents(RestoreFolderPath(fakes_.Get()) + "\\" + kept[0].name.Shown());
    }
    std::u16string RestoreText() {
        const std::string bytes = RestoreBytes();
        return bytes.size() < 2 ? u"" : utf16::FromBytes(std::string_view(bytes).substr(2));
    }

    testing::FakePlatform fakes_;
    FakeRegistry& registry_ = fakes_.registry;
};

// What is there before, the action, and the key after ("[]" alone: the key
// with no values; empty: no key).
TEST_F(AddonSwitchTest, FlagsAreWrittenWithTheBrowsersOtherBitsKept) {
    enum class Before { None, Flags, TextFlags, FlagsAndOther };
    struct Case {
        Before before;
        std::uint32_t flags;
        bool enable;
        std::vector<std::string> after;
    } cases[] = {
        // Disabling sets bit 0, and only it.
        {Before::None, 0, false, {"[]", "[] Flags=4:01000000"}},
        {Before::Flags, 0, false, {"[]", "[] Flags=4:01000000"}},
        {Before::Flags, 0x400, false, {"[]", "[] Flags=4:01040000"}},
        {Before::Flags, 0x80000402, false, {"[]", "[] Flags=4:03040080"}},
        // Something the browser never reads as flags is no bits to keep.
        {Before::TextFlags, 0, false, {"[]", "[] Flags=4:01000000"}},
        {Before::FlagsAndOther, 0x10, false, {"[]", "[] Flags=4:11000000", "[] Version=1:2a00"}},
        // Enabling clears bit 0 and keeps the rest; with none left the
        // value goes, and the key with it once it holds nothing else.
        {Before::Flags, 0x401, true, {"[]", "[] Flags=4:00040000"}},
        {Before::Flags, 0x80000403, true, {"[]", "[] Flags=4:02040080"}},
        {Before::Flags, 0x1, true, {}},
        {Before::FlagsAndOther, 0x1, true, {"[]", "[] Version=1:2a00"}},
    };
    for (const Case& c : cases) {
        fakes_ = testing::FakePlatform();
        SetUp();
        const std::string key = std::string(kSettings) + "\\{B1}";
        if (c.before == Before::Flags || c.before == Before::FlagsAndOther)
            RegKey::Create(registry_, kHkeyCurrentUser, key).SetDword("Flags", c.flags);
        if (c.before == Before::TextFlags) RegKey::Create(registry_, kHkeyCurrentUser, key).SetString("Flags", "1");
        if (c.before == Before::FlagsAndOther)
            RegKey::Create(registry_, kHkeyCurrentUser, key).SetString("Version", "*");
        const auto machine = tvtest::DumpTree(registry_, kHkeyLocalMachine, "SOFTWARE");

        Switch({Helper("{B1}")}, c.enable);

        EXPECT_EQ(Setting("{B1}"), c.after) << c.flags << " " << c.enable;
        // The registration stays exactly as it was.
        EXPECT_EQ(tvtest::DumpTree(registry_, kHkeyLocalMachine, "SOFTWARE"), machine);
        EXPECT_TRUE(fakes_.prompter.Prompts().empty());
        EXPECT_EQ(RestoreFiles().size(), 1u);
        EXPECT_EQ(registry_.OpenHandleCount(), 0u);
        EXPECT_FALSE(registry_.ViewBitsSeen());
    }
}

TEST_F(AddonSwitchTest, DisablingThenEnablingLeavesTheUsersSettingsAsTheyWere) {
    struct Case {
        const char* what;
        std::uint32_t flags;  // 0: no key at all
        bool otherValue;
    } cases[] = {
        {"no setting", 0, false},
        {"the browser's own bit", 0x400, false},
        {"another value beside", 0x400, true},
    };
    for (const Case& c : cases) {
        fakes_ = testing::FakePlatform();
        SetUp();
        const std::string key = std::string(kSettings) + "\\{B1}";
        RegKey::Create(registry_, kHkeyCurrentUser, kSettings);
        if (c.flags != 0) RegKey::Create(registry_, kHkeyCurrentUser, key).SetDword("Flags", c.flags);
        if (c.otherValue) RegKey::Create(registry_, kHkeyCurrentUser, key).SetString("Version", "*");
        const auto before = User();

        Switch({Helper("{B1}")}, false);
        EXPECT_NE(User(), before) << c.what;
        EXPECT_TRUE(IsAddonDisabled(registry_, Helper("{B1}"), fakes_.codec)) << c.what;
        Switch({Helper("{B1}")}, true);

        EXPECT_EQ(User(), before) << c.what;
        EXPECT_FALSE(IsAddonDisabled(registry_, Helper("{B1}"), fakes_.codec)) << c.what;
        EXPECT_EQ(RestoreFiles().size(), 2u) << c.what;
    }
}

TEST_F(AddonSwitchTest, TheScanMarksTheRowsTheUserSwitchedOff) {
    struct Case {
        const char* id;
        bool dword;
        std::uint32_t flags;
        bool disabled;
    } cases[] = {
        {"{B1}", true, 0x1, true},
        {"{B1}", true, 0x401, true},
        {"{B1}", true, 0x400, false},
        {"{B1}", true, 0x0, false},
        // Not a DWORD: the browser takes it for no setting.
        {"{B1}", false, 0x1, false},
    };
    for (const Case& c : cases) {
        fakes_ = testing::FakePlatform();
        SetUp();
        RegKey key = RegKey::Create(registry_, kHkeyCurrentUser, std::string(kSettings) + "\\" + c.id);
        if (c.dword) key.SetDword("Flags", c.flags);
        else key.SetBinary("Flags", {1, 0, 0, 0});
        key = RegKey();
        const std::vector<AddonRow> rows = ScanAddons(registry_, false, fakes_.codec);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].name.Shown(), "{B1}");
        EXPECT_EQ(rows[0].disabled, c.disabled) << c.flags;
        EXPECT_FALSE(rows[1].disabled);
        EXPECT_EQ(registry_.OpenHandleCount(), 0u);
    }
}

TEST_F(AddonSwitchTest, TheRestoreFilePutsBackTheOldSetting) {
    struct Case {
        std::uint32_t flags;  // 0: no setting key
        const char* line;     // the line the file must hold
    } cases[] = {
        // The key did not exist: importing deletes what the change made.
        {0, "[-HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext]"},
        {0x400, "\"Flags\"=dword:00000400"},
    };
    for (const Case& c : cases) {
        fakes_ = testing::FakePlatform();
        SetUp();
        if (c.flags != 0)
            RegKey::Create(registry_, kHkeyCurrentUser, std::string(kSettings) + "\\{B1}").SetDword("Flags", c.flags);
        const auto before = User();
        Switch({Helper("{B1}")}, false);
        const std::vector<FolderEntry> kept = RestoreFiles();
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_NE(kept[0].name.Shown().find("禁用IE插件 Helper One"), std::string::npos) << kept[0].name.Shown();
        const std::u16string text = RestoreText();
        EXPECT_NE(text.find(fakes_.codec.AnsiToWide(c.line) + u"\r\n"), std::u16string::npos)
            << std::string(text.begin(), text.end());
        EXPECT_NE(text.find(fakes_.codec.AnsiToWide(RestoreHeading("禁用IE插件"))), std::u16string::npos);
        ASSERT_TRUE(ImportRegFile(registry_, RestoreBytes(), fakes_.codec));
        EXPECT_EQ(User(), before);
    }
}

TEST_F(AddonSwitchTest, AProtectedAddonIsNotDisabledButMayBeEnabled) {
    Switch({Helper("{B2}", "FlashGet"), Helper("{B1}")}, false);
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
    EXPECT_EQ(fakes_.prompter.Prompts()[0].text, "FlashGet,属于必须插件,已经取消了禁用操作");
    EXPECT_EQ(fakes_.prompter.Prompts()[0].caption, "");
    EXPECT_TRUE(Setting("{B2}").empty());
    EXPECT_EQ(Setting("{B1}"), (std::vector<std::string>{"[]", "[] Flags=4:01000000"}));

    // Switched off elsewhere (by the browser's manager): back on here.
    fakes_.prompter.Clear();
    RegKey::Create(registry_, kHkeyCurrentUser, std::string(kSettings) + "\\{B2}").SetDword("Flags", 1);
    Switch({Helper("{B2}", "FlashGet")}, true);
    EXPECT_TRUE(fakes_.prompter.Prompts().empty());
    EXPECT_TRUE(Setting("{B2}").empty());
}

TEST_F(AddonSwitchTest, NothingToChangeWritesNoRestoreFile) {
    RegKey::Create(registry_, kHkeyCurrentUser, std::string(kSettings) + "\\{B1}").SetDword("Flags", 0x401);
    const auto before = User();
    Switch({Helper("{B1}")}, false);   // off already
    Switch({Helper("{B2}", "FlashGet")}, false);  // refused
    Switch({Helper("{B2}", "FlashGet")}, true);   // on already
    EXPECT_EQ(User(), before);
    EXPECT_TRUE(RestoreFiles().empty());
}

TEST_F(AddonSwitchTest, ANameThatWouldNameAnotherKeyIsRefusedForAll) {
    struct Case {
        AddonRow row;
    } cases[] = {
        {{std::string("{B1}\0x", 6), "Helper One", kHelperType, "", 1}},
        {{"..\\..\\Policies", "Bar", kToolbarType, "", 0}},
        {{"{B1}\\Sub", "Bar", kToolbarType, "", 0}},
        {{"", "Bar", kToolbarType, "", 0}},
    };
    for (bool enable : {false, true}) {
        for (const Case& c : cases) {
            fakes_ = testing::FakePlatform();
            SetUp();
            const auto before = User();
            Switch({Helper("{B1}"), c.row}, enable);
            EXPECT_EQ(User(), before) << c.row.name.Shown();
            EXPECT_TRUE(RestoreFiles().empty());
            ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
            EXPECT_EQ(fakes_.prompter.Prompts()[0].text, kUnhandledNameMessage);
        }
    }
    // A double-byte character whose trail byte is a backslash's is one
    // character of the name.
    fakes_ = testing::FakePlatform();
    SetUp();
    Switch({{"{\x81\x5C}", "Bar", kToolbarType, "", 0}}, false);
    EXPECT_TRUE(fakes_.prompter.Prompts().empty());
    EXPECT_EQ(Setting("{\x81\x5C}"), (std::vector<std::string>{"[]", "[] Flags=4:01000000"}));
}

// An id outside the code page is reached exactly; its '?' form, which is
// another key, is left alone.
TEST_F(AddonSwitchTest, AnIdInAnyScriptIsSwitchedExactly) {
    const std::u16string id = u"{B}\uCE74";
    RegKey::Create(registry_, kHkeyCurrentUser, std::string(kSettings) + "\\{B}?").SetDword("Flags", 0x400);
    AddonRow row = Helper("{B}?");
    row.name = EntryName(row.name.Shown(), id);
    Switch({row}, false);
    RegKey exact = RegKey::OpenW(registry_, kHkeyCurrentUser, fakes_.codec.AnsiToWide(kSettings) + u"\\" + id, kKeyRead);
    std::uint32_t flags = 0;
    ASSERT_TRUE(exact.ReadDword("Flags", &flags));
    EXPECT_EQ(flags, 1u);
    EXPECT_EQ(Setting("{B}?"), (std::vector<std::string>{"[]", "[] Flags=4:00040000"}));
    EXPECT_TRUE(IsAddonDisabled(registry_, row, fakes_.codec));
    EXPECT_NE(RestoreText().find(u"\\" + id + u"]"), std::u16string::npos);
}

}  // namespace
}  // namespace tv
