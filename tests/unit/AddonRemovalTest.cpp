// Removing ticked add-ons against fakes: which are refused, which command
// lines are run, and exactly which registry entries go.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "manage/AddonRemoval.h"
#include "platform/RegistryViews.h"
#include "platform/RegFile.h"
#include "platform/RestoreFiles.h"
#include "tests/contract/RegistryDump.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/AddonTexts.h"

namespace tv {
namespace {

using namespace testing;  // the expected add-on texts

const char kFlashGetMessage[] = "FlashGet 网际快车下载工具,属于必须插件已经取消了卸载操作";

TEST(ProtectedAddons, MatchWholeNamesWithoutRegardToCase) {
    struct Case {
        const char* name;
        const char* message;  // null: not protected
    } cases[] = {
        {"FlashGet", kFlashGetMessage},
        {"flashget bar", kFlashGetMessage},
        {"FLASHGET BAR", kFlashGetMessage},
        {"FlashGet Bar 1", nullptr},
        {"FlashGet ", nullptr},
        {"IeCatch2 Class", kFlashGetMessage},
        {"thunderiehelper class", "Thunder 讯雷下载工具必须插件,属于必须插件已经取消了卸载操作"},
        {"NXIECatcher Class", "影音传送带下载工具必备插件,属于必须插件已经取消了卸载操作"},
        {"netxfer", "影音传送带下载工具插件,属于必须插件已经取消了卸载操作"},
        {"microsoft url 搜索挂接",
         "Microsoft Windows 自带网址定位系统组件,属于必须插件已经取消了卸载操作"},
        {"@SHDOCLC.DLL,-866", "Microsoft Windows 自带系统组件,属于必须插件已经取消了卸载操作"},
        {"卡卡上网安全助手",
         "瑞星卡卡安全助手,属于安全插件已经取消了卸载操作,如果要删除请在[软件卸载]中删除"},
        {"&google", "Google 搜索工具,属于安全插件已经取消了卸载操作,如果要删除请在[软件卸载]中删除"},
        {"Google Toolbar Helper",
         "Google 搜索工具,属于安全插件已经取消了卸载操作,如果要删除请在[软件卸载]中删除"},
        {"Google", nullptr},
        {"", nullptr},
        // The trail byte of "\xB0\x41" is an 'A', not to be folded to 'a'.
        {"\xB0\x41\xB0\x61", nullptr},
    };
    for (const Case& c : cases) {
        const ProtectedAddon* found = FindProtectedAddon(c.name);
        if (c.message == nullptr) {
            EXPECT_EQ(found, nullptr) << c.name;
        } else {
            ASSERT_NE(found, nullptr) << c.name;
            EXPECT_STREQ(found->message, c.message) << c.name;
        }
    }
}

TEST(UnregisterCommand, StartsTheToolOfTheClassViewByFullPathWithTheFileQuoted) {
    const SystemFolders x86{"C:\\Windows", "C:\\Windows\\system32", false, false};
    const SystemFolders wow64{"C:\\Windows", "C:\\Windows\\system32", true, false};
    const SystemFolders x64{"C:\\Windows", "C:\\Windows\\system32", true, true};
    const SystemFolders unknown{"", "", false, false};
    const std::string native = "\"C:\\Windows\\system32\\regsvr32.exe\" /u /s ";
    const std::string sysnative = "\"C:\\Windows\\Sysnative\\regsvr32.exe\" /u /s ";
    const std::string wow = "\"C:\\Windows\\SysWOW64\\regsvr32.exe\" /u /s ";
    struct Case {
        const SystemFolders& folders;
        std::uint32_t classView;
        const char* file;
        std::string command;
    } cases[] = {
        // 32-bit Windows: one system directory, view bits mean nothing.
        {x86, 0, "C:\\Program Files\\Bar\\bar.dll", native + "\"C:\\Program Files\\Bar\\bar.dll\""},
        {x86, kKeyWow64_32Key, "C:\\x.dll", native + "\"C:\\x.dll\""},
        {x86, 0, "\"C:\\a b.dll\"", native + "\"C:\\a b.dll\""},
        {x86, 0, "", native},
        // 64-bit Windows: the 64-bit tool for a 64-bit class (the 32-bit
        // build reaches it through Sysnative), the 32-bit one otherwise.
        {wow64, kKeyWow64_64Key, "C:\\x.dll", sysnative + "\"C:\\x.dll\""},
        {wow64, kKeyWow64_32Key, "C:\\x.dll", wow + "\"C:\\x.dll\""},
        {x64, kKeyWow64_64Key, "C:\\x.dll", native + "\"C:\\x.dll\""},
        {x64, kKeyWow64_32Key, "C:\\a b.dll", wow + "\"C:\\a b.dll\""},
        // No system directory: nothing is started rather than a bare name.
        {unknown, 0, "C:\\x.dll", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnregisterCommand(c.folders, c.classView, c.file), c.command) << c.file;
    }
}

class AddonRemovalTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Two entries in each location, and the class keys behind them.
        for (const char* id : {"{T1}", "{T2}"}) {
            RegKey::Create(registry_, kHkeyLocalMachine, kToolbarKey).SetString(id, "");
            AddClass(id);
        }
        for (const char* id : {"{H1}", "{H2}"}) {
            RegKey::Create(registry_, kHkeyCurrentUser, kHooksKey).SetString(id, "");
            // A hook value of the same name on the machine side must stay.
            RegKey::Create(registry_, kHkeyLocalMachine, kHooksKey).SetString(id, "");
            AddClass(id);
        }
        for (const char* id : {"{B1}", "{B2}"}) {
            RegKey::Create(registry_, kHkeyLocalMachine, std::string(kHelpersKey) + "\\" + id);
            AddClass(id);
        }
        for (const char* id : {"{E1}", "{E2}"}) {
            RegKey::Create(registry_, kHkeyLocalMachine, std::string(kExtensionsKey) + "\\" + id)
                .SetString("exec", "e.exe");
        }
    }
    void AddClass(const std::string& id) {
        RegKey::Create(registry_, kHkeyClassesRoot, "CLSID\\" + id + "\\InprocServer32")
            .SetString("", id + ".dll");
    }
    std::vector<std::string> Dump(RegHandle root, const std::string& path) {
        return tvtest::DumpTree(registry_, root, path);
    }
    void Remove(const std::vector<AddonRow>& ticked) { RemoveAddons(fakes_.Get(), ticked); }

    testing::FakePlatform fakes_;
    FakeRegistry& registry_ = fakes_.registry;
};

TEST_F(AddonRemovalTest, EachTypeDeletesExactlyItsEntryInItsLocation) {
    struct Case {
        AddonRow row;
        RegHandle root;
        std::string path;
    } cases[] = {
        {{"{T2}", "Bar", kToolbarType, "C:\\t 2.dll", 0}, kHkeyLocalMachine, kToolbarKey},
        {{"{H1}", "Hook", kHookType, "h.dll", 0}, kHkeyCurrentUser, kHooksKey},
        {{"{B1}", "Helper", kHelperType, "b.dll", 1}, kHkeyLocalMachine, kHelpersKey},
        {{"{E2}", "Ext", kExtensionType, "", 2}, kHkeyLocalMachine, kExtensionsKey},
        // Any other type text is taken for an extension.
        {{"{E1}", "Ext", "something else", "", 2}, kHkeyLocalMachine, kExtensionsKey},
    };
    for (const Case& c : cases) {
        SetUp();
        auto machine = Dump(kHkeyLocalMachine, "SOFTWARE");
        auto user = Dump(kHkeyCurrentUser, "Software");
        fakes_.shell.Clear();

        Remove({c.row});

        ASSERT_EQ(fakes_.shell.Commands().size(), 1u);
        EXPECT_EQ(fakes_.shell.Commands()[0].commandLine,
                  "\"C:\\Windows\\system32\\regsvr32.exe\" /u /s " +
                      (c.row.file.empty() ? "" : "\"" + c.row.file + "\""));
        EXPECT_EQ(fakes_.shell.Commands()[0].showCommand, kSwHide);
        EXPECT_TRUE(fakes_.prompter.Prompts().empty());
        // Only lines naming the entry are gone, and only under its root; the
        // class registration is left to the unregistration command.
        bool userSide = c.root == kHkeyCurrentUser;
        auto machineAfter = Dump(kHkeyLocalMachine, "SOFTWARE");
        auto userAfter = Dump(kHkeyCurrentUser, "Software");
        std::string entry = c.path.substr(c.path.rfind('\\') + 1);
        auto without = [&](const std::vector<std::string>& lines) {
            std::vector<std::string> kept;
            for (const std::string& line : lines) {
                bool inLocation = line.find(entry + "]") != std::string::npos ||
                                  line.find(entry + "\\") != std::string::npos;
                if (!(inLocation && line.find(c.row.name) != std::string::npos)) kept.push_back(line);
            }
            return kept;
        };
        EXPECT_EQ(machineAfter, userSide ? machine : without(machine)) << c.row.name;
        EXPECT_EQ(userAfter, userSide ? without(user) : user) << c.row.name;
        EXPECT_LT(machineAfter.size() + userAfter.size(), machine.size() + user.size()) << c.row.name;
        EXPECT_EQ(registry_.OpenHandleCount(), 0u);
        EXPECT_FALSE(registry_.ViewBitsSeen());  // 32-bit Windows: no view bits
    }
}

TEST_F(AddonRemovalTest, ProtectedRowIsRefusedAndTheOtherRemoved) {
    auto machine = Dump(kHkeyLocalMachine, "SOFTWARE");
    Remove({{"{T1}", "flashget bar", kToolbarType, "C:\\fg.dll", 0},
            {"{T2}", "FlashGet Bar 1", kToolbarType, "C:\\fg1.dll", 0}});

    ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
    const Prompt& box = fakes_.prompter.Prompts()[0];
    EXPECT_EQ(box.text, kFlashGetMessage);
    EXPECT_EQ(box.caption, "");
    EXPECT_EQ(box.type, kMbOk | kMbIconExclamation);

    ASSERT_EQ(fakes_.shell.Commands().size(), 1u);
    EXPECT_EQ(fakes_.shell.Commands()[0].commandLine,
              "\"C:\\Windows\\system32\\regsvr32.exe\" /u /s \"C:\\fg1.dll\"");

    RegKey toolbar = RegKey::Open(registry_, kHkeyLocalMachine, kToolbarKey, kKeyRead);
    EXPECT_EQ(toolbar.ValueNames(), std::vector<std::string>{"{T1}"});
}

TEST_F(AddonRemovalTest, EveryProtectedRowGetsItsOwnMessageInRowOrder) {
    Remove({{"{B1}", "卡卡上网安全助手", kHelperType, "k.dll", 1},
            {"{E1}", "NetXfer", kExtensionType, "n.exe", 2},
            {"{H1}", "ThunderIEHelper Class", kHookType, "t.dll", 0}});
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 3u);
    EXPECT_EQ(fakes_.prompter.Prompts()[0].text,
              "瑞星卡卡安全助手,属于安全插件已经取消了卸载操作,如果要删除请在[软件卸载]中删除");
    EXPECT_EQ(fakes_.prompter.Prompts()[1].text, "影音传送带下载工具插件,属于必须插件已经取消了卸载操作");
    EXPECT_EQ(fakes_.prompter.Prompts()[2].text,
              "Thunder 讯雷下载工具必须插件,属于必须插件已经取消了卸载操作");
    EXPECT_TRUE(fakes_.shell.Commands().empty());
    EXPECT_EQ(RegKey::Open(registry_, kHkeyLocalMachine, kHelpersKey, kKeyRead).SubKeyNames().size(), 2u);
}

// On 64-bit Windows a row of the 32-bit view removes the registration of
// that view alone, with the 32-bit registration tool; the 64-bit one of the
// same name stays.
TEST_F(AddonRemovalTest, ARowOfOneViewRemovesThatViewsEntryWithItsTool) {
    FakeRegistry& registry = fakes_.registry;
    registry.UseViews(FakeRegistry::Views::TwoFor32BitProgram);
    fakes_.system.is64BitSystem = true;
    for (std::uint32_t view : {kKeyWow64_64Key, kKeyWow64_32Key}) {
        RegKey::Create(registry, kHkeyLocalMachine, kToolbarKey, view).SetString("{V}", "");
        RegKey::Create(registry, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{V}", view);
    }
    AddonRow toolbar{"{V}", "Bar", kToolbarType, "C:\\v.dll", 0};
    toolbar.view = toolbar.classView = kKeyWow64_32Key;
    AddonRow helper{"{V}", "Helper", kHelperType, "C:\\v.dll", 1};
    helper.view = helper.classView = kKeyWow64_64Key;
    Remove({toolbar, helper});

    ASSERT_EQ(fakes_.shell.Commands().size(), 2u);
    EXPECT_EQ(fakes_.shell.Commands()[0].commandLine,
              "\"C:\\Windows\\SysWOW64\\regsvr32.exe\" /u /s \"C:\\v.dll\"");
    EXPECT_EQ(fakes_.shell.Commands()[1].commandLine,
              std::string(kProgramIs64Bit ? "\"C:\\Windows\\system32" : "\"C:\\Windows\\Sysnative") +
                  "\\regsvr32.exe\" /u /s \"C:\\v.dll\"");
    std::string data;
    EXPECT_TRUE(RegKey::Open(registry, kHkeyLocalMachine, kToolbarKey, kKeyRead | kKeyWow64_64Key)
                    .ReadString("{V}", 8, &data));
    EXPECT_FALSE(RegKey::Open(registry, kHkeyLocalMachine, kToolbarKey, kKeyRead | kKeyWow64_32Key)
                     .ReadString("{V}", 8, &data));
    EXPECT_FALSE(RegKey::Open(registry, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{V}",
                              kKeyRead | kKeyWow64_64Key));
    EXPECT_TRUE(RegKey::Open(registry, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{V}",
                             kKeyRead | kKeyWow64_32Key));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);

    // The restore file names each entry where it lived: imported as the
    // registry editor of 64-bit Windows does, in the 64-bit view, both
    // come back to their own view.
    std::vector<FolderEntry> kept;
    fakes_.files.ListFolder(RestoreFolderPath(fakes_.Get()), &kept);
    ASSERT_EQ(kept.size(), 1u);
    registry.UseViews(FakeRegistry::Views::TwoFor64BitProgram);
    ASSERT_TRUE(ImportRegFile(
        registry, fakes_.files.Contents(RestoreFolderPath(fakes_.Get()) + "\\" + kept[0].name),
        fakes_.codec));
    EXPECT_TRUE(RegKey::Open(registry, kHkeyLocalMachine, kToolbarKey, kKeyRead | kKeyWow64_32Key)
                    .ReadString("{V}", 8, &data));
    EXPECT_TRUE(RegKey::Open(registry, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{V}",
                             kKeyRead | kKeyWow64_64Key));
}

TEST_F(AddonRemovalTest, HelperWithSubkeysStays) {
    RegKey::Create(registry_, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{B1}\\Settings");
    Remove({{"{B1}", "Helper", kHelperType, "b.dll", 1}});
    EXPECT_EQ(RegKey::Open(registry_, kHkeyLocalMachine, kHelpersKey, kKeyRead).SubKeyNames(),
              (std::vector<std::string>{"{B1}", "{B2}"}));
    EXPECT_EQ(fakes_.shell.Commands().size(), 1u);
}

TEST_F(AddonRemovalTest, AMissingLocationDeletesNothingElsewhere) {
    ASSERT_EQ(DeleteKeyTree(registry_, kHkeyLocalMachine, kToolbarKey), kErrorSuccess);
    auto machine = Dump(kHkeyLocalMachine, "SOFTWARE");
    auto user = Dump(kHkeyCurrentUser, "Software");
    Remove({{"{X}", "Gone", kToolbarType, "x.dll", 0}});
    EXPECT_EQ(Dump(kHkeyLocalMachine, "SOFTWARE"), machine);
    EXPECT_EQ(Dump(kHkeyCurrentUser, "Software"), user);
}

// Before anything goes, one restore file keeps the entries and the class
// keys their unregistration takes away; importing it brings all back. When
// it cannot be written nothing is unregistered or deleted.
TEST_F(AddonRemovalTest, RestoreFileBringsBackEntriesAndClassKeys) {
    const std::vector<AddonRow> rows = {
        {"{T2}", "Bar", kToolbarType, "t.dll", 0},
        {"{H1}", "Hook", kHookType, "h.dll", 0},
        {"{B1}", "Helper", kHelperType, "b.dll", 1},
        {"{E2}", "Ext", kExtensionType, "", 2},
        {"{T1}", "FlashGet", kToolbarType, "f.dll", 0},  // refused: not in the file
    };
    RegKey::Create(registry_, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{B1}\\Settings")
        .SetDword("On", 1);
    AddClass("{E2}");
    for (bool full : {true, false}) {
        SCOPED_TRACE(full ? "disk full" : "written");
        const auto machine = Dump(kHkeyLocalMachine, "SOFTWARE");
        const auto user = Dump(kHkeyCurrentUser, "Software");
        fakes_.files.SetFull(full);
        Remove(rows);
        std::vector<FolderEntry> kept;
        fakes_.files.ListFolder(RestoreFolderPath(fakes_.Get()), &kept);
        if (full) {
            EXPECT_TRUE(kept.empty());
            EXPECT_TRUE(fakes_.shell.Commands().empty());
            ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
            EXPECT_EQ(fakes_.prompter.Prompts()[0].text, kRestoreFailedMessage);
            EXPECT_EQ(Dump(kHkeyLocalMachine, "SOFTWARE"), machine);
            continue;
        }
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(kept[0].name, "2009-10-25 12.00.00 删除IE插件.reg");
        // Class keys are kept for the types that name a class; an
        // extension's id names none, even where a class of that id exists.
        std::string ascii;
        const std::string file = fakes_.files.Contents(RestoreFolderPath(fakes_.Get()) + "\\" + kept[0].name);
        for (size_t i = 2; i < file.size(); i += 2) ascii.push_back(file[i]);
        EXPECT_NE(ascii.find("CLSID\\{T2}]"), std::string::npos);
        EXPECT_EQ(ascii.find("CLSID\\{E2}"), std::string::npos);
        // What the unregistration does: the class keys go too.
        for (const char* id : {"{T2}", "{H1}", "{B1}"})
            DeleteKeyTree(registry_, kHkeyClassesRoot, std::string("CLSID\\") + id);
        DeleteKeyTree(registry_, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{B1}");
        ASSERT_NE(Dump(kHkeyLocalMachine, "SOFTWARE"), machine);
        const std::string bytes =
            fakes_.files.Contents(RestoreFolderPath(fakes_.Get()) + "\\" + kept[0].name);
        ASSERT_TRUE(ImportRegFile(registry_, bytes, fakes_.codec));
        auto sorted = [](std::vector<std::string> lines) {
            std::sort(lines.begin(), lines.end());
            return lines;
        };
        EXPECT_EQ(sorted(Dump(kHkeyLocalMachine, "SOFTWARE")), sorted(machine));
        EXPECT_EQ(sorted(Dump(kHkeyCurrentUser, "Software")), sorted(user));
    }
}

}  // namespace
}  // namespace tv
