#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/WideText.h"
#include "manage/NameCheck.h"
#include "manage/StartupRemoval.h"
#include "manage/StartupScan.h"
#include "manage/TaskScan.h"
#include "tests/support/RegFile.h"
#include "restore/RestoreFiles.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

constexpr const char* kUserStartup = "C:\\users\\me\\Startup";
constexpr const char* kCommonStartup = "C:\\ProgramData\\Startup";
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* kWindows = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
constexpr const char* kSession = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kRdp = "SYSTEM\\CurrentControlSet\\Control\\Terminal Server\\Wds\\rdpwd";

// Every value and file of the fixture, as text, to compare before and after.
struct Snapshot {
    std::vector<std::string> values;
    std::vector<std::string> files;
    bool operator==(const Snapshot& o) const { return values == o.values && files == o.files; }
};

class StartupRemovalTest : public ::testing::Test {
protected:
    void SetUp() override {
        Set(kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
            "Startup", kUserStartup);
        Set(kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
            "Common Startup", kCommonStartup);
        Set(kHkeyCurrentUser, kRun, "Tool", "C:\\Tool\\tool.exe");
        Set(kHkeyCurrentUser, kRun, "Other", "C:\\Other\\other.exe");
        Set(kHkeyLocalMachine, kRun, "Tool", "C:\\Tool\\tool.exe");
        Set(kHkeyLocalMachine, kWinlogon, "Shell", "explorer.exe,evil.exe");
        Set(kHkeyLocalMachine, kWinlogon, "Userinit", "C:\\evil.exe");
        Set(kHkeyCurrentUser, kWinlogon, "Shell", "C:\\MyShell.exe");
        Set(kHkeyLocalMachine, kRdp, "StartupPrograms", "rdpclip,evil");
        Set(kHkeyLocalMachine, kWindows, "AppInit_DLLs", "C:\\hook.dll");
        RegKey::Create(fake.registry, kHkeyLocalMachine, kSession)
            .SetMultiString("BootExecute", {"evil", "autocheck autochk *"});
        Set(kHkeyCurrentUser, "Control Panel\\Desktop", "SCRNSAVE.EXE", "C:\\x.scr");
        fake.environment.profileFolder = "C:\\users\\me";
        fake.environment.commonStartupFolder = kCommonStartup;
        fake.files.AddFolder(kUserStartup);
        fake.files.AddFolder(kCommonStartup);
        fake.files.AddFile(std::string(kUserStartup) + "\\App.lnk");
        fake.links.Add(std::string(kUserStartup) + "\\App.lnk", "C:\\App\\app.exe");
        fake.files.AddFile("C:\\App\\app.exe");
        fake.files.AddFile(std::string(kUserStartup) + "\\Same.exe");
        fake.files.AddFile(std::string(kCommonStartup) + "\\Same.exe");
        fake.files.AddFolder(std::string(kUserStartup) + "\\Sub");
        fake.files.AddFile(std::string(kUserStartup) + "\\Sub\\Same.exe");
    }
    void Set(RegHandle root, const std::string& key, const std::string& name,
             const std::string& data) {
        RegKey::Create(fake.registry, root, key).SetString(name, data);
    }
    Snapshot Take() {
        Snapshot s;
        struct Key {
            RegHandle root;
            const char* path;
        } keys[] = {{kHkeyCurrentUser, kRun}, {kHkeyLocalMachine, kRun},
                    {kHkeyLocalMachine, kWinlogon}, {kHkeyCurrentUser, kWinlogon},
                    {kHkeyLocalMachine, kRdp}, {kHkeyLocalMachine, kWindows},
                    {kHkeyLocalMachine, kSession}, {kHkeyCurrentUser, "Control Panel\\Desktop"}};
        for (const Key& k : keys) {
            RegKey key = RegKey::Open(fake.registry, k.root, k.path, kKeyRead);
            for (const std::string& name : key.ValueNames()) {
                std::string data;
                ReadWholeText(key, name, &data);
                s.values.push_back(std::to_string(k.root) + "\\" + k.path + "\\" + name + "=" + data);
            }
        }
        // The restore folder is looked at on its own.
        for (const std::string& path : fake.files.AllPaths())
            if (path.rfind(RestoreFolderPath(fake.Get()), 0) != 0) s.files.push_back(path);
        return s;
    }
    // The names in the restore folder.
    std::vector<std::string> Kept() {
        std::vector<FolderEntry> entries;
        fake.files.ListFolder(RestoreFolderPath(fake.Get()), &entries);
        std::vector<std::string> names;
        for (const FolderEntry& e : entries) names.push_back(e.name.Shown());
        return names;
    }
    // A restore file's text, back in the ANSI code page.
    std::string RestoreText(const std::string& name) {
        const std::string bytes = fake.files.Contents(RestoreFolderPath(fake.Get()) + "\\" + name);
        std::u16string wide = utf16::FromBytes(std::string_view(bytes).substr(2));
        return fake.codec.WideToAnsi(wide);
    }
    // The scanned row whose name and column 3 are given.
    StartupRowTexts RowOf(const std::string& name, const std::string& root,
                          const std::string& hiddenEnd = "") {
        for (const StartupItem& i : StartupScan(fake.Get())) {
            if (i.name.Shown() == name && (root.empty() || i.root == root) &&
                (hiddenEnd.empty() || (i.hidden.Shown().size() >= hiddenEnd.size() &&
                                       i.hidden.Shown().compare(i.hidden.Shown().size() - hiddenEnd.size(),
                                                                hiddenEnd.size(), hiddenEnd) == 0)))
                return {i.name, i.root, i.subkey, i.hidden};
        }
        ADD_FAILURE() << "no row " << name;
        return {};
    }
    // The scanned row of the file at `exactPath`.
    StartupRowTexts RowOf(const std::u16string& exactPath) {
        for (const StartupItem& i : StartupScan(fake.Get()))
            if (i.hidden.Stored() == exactPath)
                return {i.name, i.root, i.subkey, i.hidden};
        ADD_FAILURE() << "no row " << fake.codec.WideToAnsi(exactPath);
        return {};
    }
    testing::FakePlatform fake;
};

TEST_F(StartupRemovalTest, RemovesExactlyTheEntryOfTheRow) {
    struct Case {
        const char* label;
        std::string name, root, hiddenEnd;
        std::string gone;  // the one value or file that goes; empty: nothing changes
        bool refused;
        bool exactRow = true;  // false: the row gives its 8-bit texts only
    } cases[] = {
        {"user Run value", "Tool", "HKEY_CURRENT_USER", "",
         std::to_string(kHkeyCurrentUser) + "\\" + kRun + "\\Tool=C:\\Tool\\tool.exe", false},
        {"machine Run value", "Tool", "HKEY_LOCAL_MACHINE", "",
         std::to_string(kHkeyLocalMachine) + "\\" + kRun + "\\Tool=C:\\Tool\\tool.exe", false},
        {"machine shell", "Shell  [警告]", "HKEY_LOCAL_MACHINE", "", "", true},
        {"user shell", "Shell", "HKEY_CURRENT_USER", "",
         std::to_string(kHkeyCurrentUser) + "\\" + kWinlogon + "\\Shell=C:\\MyShell.exe", false},
        {"userinit", "Userinit  [警告]", "", "", "", true},
        {"remote desktop", "StartupPrograms  [警告]", "", "", "", true},
        {"boot execute", "Load [警告]", "", "",
         std::to_string(kHkeyLocalMachine) + "\\" + kSession + "\\BootExecute=evil", false},
        {"screen saver", "屏幕保护  [注意]", "", "",
         std::to_string(kHkeyCurrentUser) + "\\Control Panel\\Desktop\\SCRNSAVE.EXE=C:\\x.scr",
         false},
        {"AppInit_DLLs", " [AppInit_DLLs 警告]", "", "", "", false},
        {"shortcut", "App.lnk", "", "", std::string(kUserStartup) + "\\App.lnk", false},
        {"user folder file", "Same.exe", "", "Startup\\Same.exe",
         std::string(kUserStartup) + "\\Same.exe", false},
        {"common folder file", "Same.exe", "", "ProgramData\\Startup\\Same.exe",
         std::string(kCommonStartup) + "\\Same.exe", false},
        {"subfolder file", "Same.exe", "", "Sub\\Same.exe",
         std::string(kUserStartup) + "\\Sub\\Same.exe", false},
        {"subfolder file, 8-bit row", "Same.exe", "", "Sub\\Same.exe",
         std::string(kUserStartup) + "\\Sub\\Same.exe", false, false},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
        StartupRowTexts row = RowOf(c.name, c.root, c.hiddenEnd);
        if (!c.exactRow) row = {row.name.Shown(), row.root, row.subkey, row.hidden.Shown()};
        Snapshot before = Take();
        EXPECT_EQ(RemoveStartupItem(fake.Get(), row), !c.refused) << c.label;
        Snapshot after = Take();
        Snapshot expected = before;
        for (auto* list : {&expected.values, &expected.files}) {
            for (auto it = list->begin(); it != list->end(); ++it) {
                if (*it == c.gone) {
                    list->erase(it);
                    break;
                }
            }
        }
        if (!c.gone.empty()) {
            EXPECT_FALSE(before == expected) << c.label << ": fixture lacks it";
        }
        EXPECT_TRUE(after == expected) << c.label;

        // What went is kept: a value in a restore file that brings it back
        // when imported, a file moved beside a restore file naming its place.
        const std::vector<std::string> kept = Kept();
        const bool isFile = c.gone.rfind("C:\\", 0) == 0;
        if (c.gone.empty()) {
            EXPECT_TRUE(kept.empty()) << c.label;
        } else if (isFile) {
            const std::string name = c.gone.substr(c.gone.rfind('\\') + 1);
            ASSERT_EQ(kept.size(), 2u) << c.label;
            EXPECT_EQ(kept[0], "2009-10-25 12.00.00 删除启动项 " + row.name.Shown() + ".reg") << c.label;
            EXPECT_EQ(kept[1], name) << c.label;
            EXPECT_NE(RestoreText(kept[0]).find("\r\n; 恢复时请把它移回原来的位置：" + c.gone + "\r\n"),
                      std::string::npos)
                << c.label;
            // Where the user finds it: the machine's restore folder.
            EXPECT_NE(RestoreText(kept[0]).find("\r\n; 启动文件已移到：C:\\ProgramData\\Trimvex 还原文件\\" +
                                                name + "\r\n"),
                      std::string::npos)
                << c.label;
        } else {
            ASSERT_EQ(kept.size(), 1u) << c.label;
            const std::string bytes =
                fake.files.Contents(RestoreFolderPath(fake.Get()) + "\\" + kept[0]);
            ASSERT_TRUE(ImportRegFile(fake.registry, bytes, fake.codec)) << c.label;
            // Back in place, at the end of the key's list of values.
            std::vector<std::string> restored = Take().values, original = before.values;
            std::sort(restored.begin(), restored.end());
            std::sort(original.begin(), original.end());
            EXPECT_EQ(restored, original) << c.label;
        }
        ASSERT_EQ(fake.prompter.Prompts().size(), c.refused ? 1u : 0u) << c.label;
        if (c.refused) {
            const Prompt& p = fake.prompter.Prompts()[0];
            EXPECT_EQ(p.text,
                      "Windows 运行需要该键,不能删除,如果病毒木马修改请单击\"安全修复\"即可恢复系统默认");
            EXPECT_EQ(p.caption, "");
            EXPECT_EQ(p.type, kMbOk);
        }
        EXPECT_EQ(fake.registry.OpenHandleCount(), 0u) << c.label;
        EXPECT_FALSE(fake.registry.ViewBitsSeen()) << c.label;  // 32-bit Windows: no view bits
    }
}

// A name outside the code page reads as "????" through the ANSI calls,
// which is also the name of another value here: the row of the Hangul value
// names it exactly, and only it goes, kept exactly in its restore file.
TEST_F(StartupRemovalTest, AValueNamedInAnyScriptIsTheOneThatGoes) {
    const std::u16string hangul = u"\uCE74\uCE74\uC624\uD1A1";  // 카카오톡
    // Longer than the first read: read again, by the exact name.
    const std::u16string data = u"C:\\\uCE74\uCE74\uC624\\k.exe " + std::u16string(300, u'x');
    std::string bytes = utf16::ToBytes(data + u'\0');
    RegKey run = RegKey::Create(fake.registry, kHkeyCurrentUser, kRun);
    ASSERT_EQ(fake.registry.SetValueW(run.Handle(), hangul, kRegSz, bytes.data(),
                                      static_cast<std::uint32_t>(bytes.size())),
              kErrorSuccess);
    Set(kHkeyCurrentUser, kRun, "????", "C:\\decoy.exe");

    std::vector<StartupItem> rows;
    for (const StartupItem& item : StartupScan(fake.Get()))
        if (item.name.Shown() == "????") rows.push_back(item);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name.Stored(), hangul);
    EXPECT_EQ(rows[0].path, "c:\\???\\k.exe");
    EXPECT_EQ(rows[1].name.Stored(), u"????");
    EXPECT_EQ(rows[1].path, "c:\\decoy.exe");

    const StartupItem& row = rows[0];
    ASSERT_TRUE(RemoveStartupItem(fake.Get(), {row.name, row.root, row.subkey, row.hidden}));
    std::u16string name;
    std::vector<std::u16string> left;
    for (std::uint32_t i = 0; fake.registry.EnumValueW(run.Handle(), i, &name) == kErrorSuccess; ++i)
        left.push_back(name);
    EXPECT_EQ(left, (std::vector<std::u16string>{u"Tool", u"Other", u"????"}));

    const std::vector<std::string> kept = Kept();
    ASSERT_EQ(kept.size(), 1u);
    const std::string file = fake.files.Contents(RestoreFolderPath(fake.Get()) + "\\" + kept[0]);
    std::u16string text = utf16::FromBytes(std::string_view(file).substr(2));
    EXPECT_NE(text.find(u"\r\n\"" + hangul + u"\"=\"C:\\\\\uCE74\uCE74\uC624\\\\k.exe " +
                        std::u16string(300, u'x') + u"\"\r\n"),
              std::u16string::npos);
}

// Hangul is outside code page 936: its names read as '?' in 8-bit text, so
// files can share one 8-bit form ("\uCE74.exe" and "\uC624.exe" are both
// "?.exe"). The row's exact name and path pick its own file, which is moved
// into the restore folder under its own name, and the restore file names
// both places exactly.
TEST_F(StartupRemovalTest, RemovesExactlyTheFileOfARowNamedOutsideTheCodePage) {
    const std::string user8 = kUserStartup;
    const std::u16string user(user8.begin(), user8.end());
    const std::u16string files[] = {
        user + u"\\\uCE74\uCE74\uC624.exe",  // 카카오.exe
        user + u"\\\uCE74\uCE74.exe",         // 카카.exe
        user + u"\\\uCE74.exe",                // 카.exe
        user + u"\\\uC624.exe",                // 오.exe
        user + u"\\\uD55C\\\uCE74.exe",        // 한\카.exe
    };
    for (const std::u16string& gone : files) {
        SCOPED_TRACE(fake.codec.WideToAnsi(gone));
        fake = testing::FakePlatform();
        SetUp();
        for (const std::u16string& file : files) fake.files.AddFile(file);
        const std::u16string restoreFolder = fake.codec.AnsiToWide(RestoreFolderPath(fake.Get()));
        const StartupRowTexts row = RowOf(gone);
        std::vector<std::u16string> expected;
        for (const std::u16string& path : fake.files.AllPathsW())
            if (path != gone) expected.push_back(path);
        EXPECT_TRUE(RemoveStartupItem(fake.Get(), row));
        const std::u16string name = gone.substr(gone.rfind(u'\\') + 1);
        std::vector<std::u16string> left;
        for (const std::u16string& path : fake.files.AllPathsW()) {
            if (path.compare(0, restoreFolder.size(), restoreFolder) != 0) {
                left.push_back(path);
            } else if (path != restoreFolder && path.compare(path.size() - 4, 4, u".reg") != 0) {
                EXPECT_EQ(path, restoreFolder + u"\\" + name);
            }
        }
        EXPECT_EQ(left, expected);
        std::vector<FolderEntry> kept;
        ASSERT_TRUE(fake.files.ListFolderW(restoreFolder, &kept));
        ASSERT_EQ(kept.size(), 2u);
        const std::string bytes = fake.files.Contents(RestoreFolderPath(fake.Get()) + "\\" + kept[0].name.Shown());
        std::u16string text = utf16::FromBytes(std::string_view(bytes).substr(2));
        EXPECT_NE(text.find(u"\r\n; 启动文件已移到：" + restoreFolder + u"\\" + name + u"\r\n"),
                  std::u16string::npos);
        EXPECT_NE(text.find(u"\r\n; 恢复时请把它移回原来的位置：" + gone + u"\r\n"),
                  std::u16string::npos);
    }
}

// A name with a NUL in it is listed whole, but every call would stop at
// the NUL and reach the entry named by the part before it ("Tool"): the
// row is refused with a message, and nothing of that other entry (nor
// anything else) is kept, deleted or moved.
TEST_F(StartupRemovalTest, ANameWithANulIsRefusedAndNothingElseIsTouched) {
    const std::u16string planted = std::u16string(u"Tool\0x", 6);
    const std::u16string user = fake.codec.AnsiToWide(kUserStartup);
    struct Case {
        const char* label;
        std::function<StartupRowTexts()> row;
    } cases[] = {
        // A Run value planted as the native calls allow, beside the real
        // "Tool", and listed whole.
        {"Run value", [&] {
             const std::string data = utf16::ToBytes(u"C:\\evil.exe" + std::u16string(1, u'\0'));
             RegKey run = RegKey::Create(fake.registry, kHkeyCurrentUser, kRun);
             EXPECT_EQ(fake.registry.SetValueCountedW(run.Handle(), planted, kRegSz, data.data(),
                                                       static_cast<std::uint32_t>(data.size())),
                       kErrorSuccess);
             for (const StartupItem& i : StartupScan(fake.Get()))
                 if (i.name.Stored() == planted)
                     return StartupRowTexts{i.name, i.root, i.subkey, i.hidden};
             ADD_FAILURE() << "the planted value is not listed";
             return StartupRowTexts{};
         }},
        // The same row as the list gives its 8-bit name back: cut, but the
        // page keeps the exact one.
        {"Run value, name read back from the list", [&] {
             StartupRowTexts row = RowOf("Tool", "HKEY_CURRENT_USER");
             row.name = EntryName(row.name.Shown(), planted);
             return row;
         }},
        // A folder row whose file's name has a NUL before its end: the real
        // "Same.exe" would be moved.
        {"startup folder file", [&] {
             StartupRowTexts row = RowOf(user + u"\\Same.exe");
             row.name = EntryName(row.name.Shown() + std::string("\0x", 2),
                                  row.name.Stored() + std::u16string(u"\0x", 2));
             row.hidden = EntryName(row.hidden.Shown(), row.hidden.Stored() + std::u16string(u"\0x", 2));
             return row;
         }},
        // A task of that name beside the real "\Tool".
        {"scheduled task", [&] {
             fake.tasks.Add(u"\\Tool", u"<Task/>");
             return StartupRowTexts{EntryName("Tool", planted), kTaskRootText, "\\ 登录时",
                                    EntryName("\\Tool", u"\\" + planted)};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fake = testing::FakePlatform();
        SetUp();
        const StartupRowTexts row = c.row();
        const Snapshot before = Take();
        EXPECT_FALSE(RemoveStartupItem(fake.Get(), row));
        std::vector<std::string> told;
        for (const Prompt& p : fake.prompter.Prompts()) told.push_back(p.text);
        EXPECT_EQ(told, std::vector<std::string>{"该项目的名称含有无法处理的字符，本次没有做任何更改。"});
        if (!fake.prompter.Prompts().empty()) {
            EXPECT_EQ(fake.prompter.Prompts()[0].type, kMbOk | kMbIconExclamation);
        }
        EXPECT_TRUE(Take() == before);
        EXPECT_TRUE(Kept().empty());
        EXPECT_TRUE(fake.tasks.deletes.empty());
        std::string data;
        EXPECT_TRUE(RegKey::Open(fake.registry, kHkeyCurrentUser, kRun, kKeyRead).ReadString("Tool", 64, &data));
        EXPECT_TRUE(fake.files.Exists(std::string(kUserStartup) + "\\Same.exe"));
    }
}

TEST_F(StartupRemovalTest, NothingGoesWhenTheRestoreFileCannotBeWritten) {
    struct Case {
        const char* label;
        std::string name, root, hiddenEnd;
        bool noCommonFolder;
        bool namesTaken = false;  // every name the restore file could have
    } cases[] = {
        {"folder file, no name left for the restore file", "Same.exe", "", "Startup\\Same.exe", false, true},
        {"value, disk full", "Tool", "HKEY_CURRENT_USER", "", false},
        {"folder file, disk full", "App.lnk", "", "", false},
        {"value, no common application data folder", "Tool", "HKEY_CURRENT_USER", "", true},
        {"folder file, no common application data folder", "Same.exe", "", "Startup\\Same.exe", true},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
        StartupRowTexts row = RowOf(c.name, c.root, c.hiddenEnd);
        if (c.noCommonFolder) {
            fake.environment.commonAppDataFolder.clear();
        } else if (c.namesTaken) {
            const std::string stem = RestoreFolderPath(fake.Get()) + "\\2009-10-25 12.00.00 删除启动项 " + c.name;
            fake.files.AddFile(stem + ".reg");
            for (int n = 2; n <= 100; ++n) fake.files.AddFile(stem + " (" + std::to_string(n) + ").reg");
        } else {
            fake.files.SetFull(true);
        }
        const Snapshot before = Take();
        EXPECT_FALSE(RemoveStartupItem(fake.Get(), row)) << c.label;
        EXPECT_TRUE(Take() == before) << c.label;
        ASSERT_EQ(fake.prompter.Prompts().size(), 1u) << c.label;
        EXPECT_EQ(fake.prompter.Prompts()[0].text, "无法写入还原文件，本次没有做任何更改。");
        EXPECT_EQ(fake.prompter.Prompts()[0].caption, "");  // the program's title
    }
}

// Between the scan and the click a program of the user's can swap a file or
// folder for a link, or name another folder as the user's startup folder:
// nothing is moved out of where a link leads, and nothing is written there.
TEST_F(StartupRemovalTest, NothingMovesThroughALinkOrOutOfTheUsersReach) {
    const std::string system = "C:\\Windows\\system32";
    const std::string user = kUserStartup;
    struct Case {
        const char* label;
        std::string name, hiddenEnd;
        std::function<void(testing::FakePlatform&)> before;  // ahead of the scan
        std::function<void(testing::FakePlatform&)> between; // after it
        bool restoreFails;
    } cases[] = {
        {"shortcut swapped for a link to a system file", "App.lnk", "", {},
         [&](testing::FakePlatform& f) { f.files.AddLink(user + "\\App.lnk", system + "\\ntdll.dll"); },
         false},
        {"subfolder swapped for a junction", "Same.exe", "Sub\\Same.exe", {},
         [&](testing::FakePlatform& f) { f.files.AddLink(user + "\\Sub", system); }, false},
        {"user startup folder named outside the profile", "ntdll.dll", "", 
         [&](testing::FakePlatform& f) {
             RegKey::Create(f.registry, kHkeyCurrentUser,
                            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders")
                 .SetString("Startup", system);
         },
         {}, false},
        {"common application data folder is a link", "App.lnk", "", {},
         [&](testing::FakePlatform& f) { f.files.AddLink(f.environment.commonAppDataFolder, system); }, true},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
        fake.files.AddFile(system + "\\ntdll.dll");
        fake.files.AddFile(system + "\\Same.exe");
        if (c.before) c.before(fake);
        StartupRowTexts row = RowOf(c.name, "", c.hiddenEnd);
        if (c.between) c.between(fake);
        const Snapshot before = Take();
        EXPECT_EQ(RemoveStartupItem(fake.Get(), row), !c.restoreFails) << c.label;
        EXPECT_TRUE(Take() == before) << c.label;
        EXPECT_TRUE(fake.files.Exists(system + "\\ntdll.dll")) << c.label;
        EXPECT_TRUE(fake.files.Exists(system + "\\Same.exe")) << c.label;
        std::vector<FolderEntry> inSystem;
        fake.files.ListFolder(system, &inSystem);
        EXPECT_EQ(inSystem.size(), 2u) << c.label;
        if (!c.restoreFails) {
            EXPECT_TRUE(Kept().empty()) << c.label;
        }
        // The restore file written first is taken back through its handle.
        EXPECT_EQ(fake.files.Discarded(), c.restoreFails ? 0 : 1) << c.label;
        EXPECT_EQ(fake.prompter.Prompts().size(), c.restoreFails ? 1u : 0u) << c.label;
    }
}

// A program of the user's made the restore folder's name a link, or a
// folder it may write: the file and its restore file go to a fresh folder
// beside it, which the restore file names, and nothing lands in the other.
TEST_F(StartupRemovalTest, ARestoreFolderNameTakenByAnotherIsPassedOver) {
    const std::string first = "C:\\ProgramData\\Trimvex 还原文件";
    const std::string second = first + " (2)";
    const std::string elsewhere = "C:\\Users\\me\\Elsewhere";
    struct Case {
        const char* label;
        std::function<void(testing::FakePlatform&)> take;
    } cases[] = {
        {"a link", [&](testing::FakePlatform& f) { f.files.AddLink(first, elsewhere); }},
        {"a folder users may write", [&](testing::FakePlatform& f) {
             f.files.AddFolder(first);
             FakeSecurity security = ProtectedFakeSecurity();
             security.allowed.push_back({fakesid::kUsers, fakeright::kAll});
             f.files.SetSecurity(first, security);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fake = testing::FakePlatform();
        SetUp();
        fake.files.AddFolder(elsewhere);
        c.take(fake);
        const StartupRowTexts row = RowOf("App.lnk", "");
        EXPECT_TRUE(RemoveStartupItem(fake.Get(), row));
        EXPECT_FALSE(fake.files.Exists(std::string(kUserStartup) + "\\App.lnk"));
        std::vector<FolderEntry> entries;
        ASSERT_TRUE(fake.files.ListFolder(second, &entries));
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries[1].name.Shown(), "App.lnk");
        const std::string bytes = fake.files.Contents(second + "\\" + entries[0].name.Shown());
        const std::string text = fake.codec.WideToAnsi(utf16::FromBytes(std::string_view(bytes).substr(2)));
        EXPECT_NE(text.find("\r\n; 启动文件已移到：" + second + "\\App.lnk\r\n"), std::string::npos);
        ASSERT_TRUE(fake.files.ListFolder(elsewhere, &entries));
        EXPECT_TRUE(entries.empty());
        if (fake.files.IsFolder(first) && fake.files.ListFolder(first, &entries)) {
            EXPECT_TRUE(entries.empty());
        }
        EXPECT_TRUE(fake.prompter.Prompts().empty());
    }
}

TEST_F(StartupRemovalTest, ForeignFolderRowsAndEmptyRowsDeleteNothing) {
    struct Case {
        const char* label;
        StartupRowTexts row;
    } cases[] = {
        {"no row", {}},
        {"path outside the startup folders", {"app.exe", "", "", "C:\\App\\app.exe"}},
        {"name differs from the file", {"Other.exe", "", "", std::string(kUserStartup) + "\\Same.exe"}},
        {"folder row without its path", {"Same.exe", "", "", ""}},
        {"prefix look-alike folder", {"x.exe", "", "", std::string(kUserStartup) + "Evil\\x.exe"}},
    };
    fake.files.AddFile(std::string(kUserStartup) + "Evil\\x.exe");
    for (const Case& c : cases) {
        // As 8-bit texts only, and with the exact forms a scan gives.
        StartupRowTexts exact = c.row;
        exact.name = EntryName(c.row.name.Shown(), fake.codec.AnsiToWide(c.row.name.Shown()));
        exact.hidden = EntryName(c.row.hidden.Shown(), fake.codec.AnsiToWide(c.row.hidden.Shown()));
        for (const StartupRowTexts& row : {c.row, exact}) {
            Snapshot before = Take();
            EXPECT_TRUE(RemoveStartupItem(fake.Get(), row)) << c.label;
            EXPECT_TRUE(Take() == before) << c.label;
        }
    }
    EXPECT_TRUE(fake.prompter.Prompts().empty());
}

// On 64-bit Windows a row stands for the value of one view: removing it
// deletes that value alone, and the same-named value of the other view stays.
TEST_F(StartupRemovalTest, RemovesTheValueOfTheRowsViewOnly) {
    const char* processor = "Software\\Microsoft\\Command Processor";
    struct Case {
        const char* name;      // column 0 of the row removed
        const char* hiddenEnd; // picks the row
        std::uint32_t gone;    // the view whose value goes
    } cases[] = {
        {"Tool", "HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", kKeyWow64_32Key},
        {"Tool", "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", kKeyWow64_64Key},
        {"AutoRun  [警告]", "HKLM\\Software\\Wow6432Node\\Microsoft\\Command Processor [AutoRun]",
         kKeyWow64_32Key},
        {"AutoRun  [警告]", "HKLM\\Software\\Microsoft\\Command Processor [AutoRun]", kKeyWow64_64Key},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hiddenEnd);
        fake.registry.UseViews(FakeRegistry::Views::TwoFor32BitProgram);
        fake.system.is64BitSystem = true;
        // Each view's value with data of its own.
        auto dataOf = [](std::uint32_t view) { return view == kKeyWow64_32Key ? "C:\\x86.exe" : "C:\\x64.exe"; };
        for (std::uint32_t view : {kKeyWow64_64Key, kKeyWow64_32Key}) {
            RegKey::Create(fake.registry, kHkeyLocalMachine, kRun, view).SetString("Tool", dataOf(view));
            RegKey::Create(fake.registry, kHkeyLocalMachine, processor, view).SetString("AutoRun", dataOf(view));
        }
        EXPECT_TRUE(RemoveStartupItem(fake.Get(), RowOf(c.name, "HKEY_LOCAL_MACHINE", c.hiddenEnd)));
        const bool run = std::string(c.name) == "Tool";
        for (std::uint32_t view : {kKeyWow64_64Key, kKeyWow64_32Key}) {
            std::string data;
            EXPECT_EQ(RegKey::Open(fake.registry, kHkeyLocalMachine, run ? kRun : processor, kKeyRead | view)
                          .ReadString(run ? "Tool" : "AutoRun", 64, &data),
                      view != c.gone)
                << view;
            // The other location is untouched.
            EXPECT_TRUE(RegKey::Open(fake.registry, kHkeyLocalMachine, run ? processor : kRun, kKeyRead | view)
                            .ReadString(run ? "AutoRun" : "Tool", 64, &data));
        }
        EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
        // The restore files, imported as the registry editor of 64-bit
        // Windows does (in its own view), bring the value back to its view.
        fake.registry.UseViews(FakeRegistry::Views::TwoFor64BitProgram);
        const std::string folder = RestoreFolderPath(fake.Get());
        std::vector<FolderEntry> kept;
        ASSERT_TRUE(fake.files.ListFolder(folder, &kept));
        for (const FolderEntry& file : kept)
            ASSERT_TRUE(ImportRegFile(fake.registry, fake.files.Contents(folder + "\\" + file.name.Shown()), fake.codec));
        std::string data;
        for (std::uint32_t view : {kKeyWow64_64Key, kKeyWow64_32Key}) {
            EXPECT_TRUE(RegKey::Open(fake.registry, kHkeyLocalMachine, run ? kRun : processor, kKeyRead | view)
                            .ReadString(run ? "Tool" : "AutoRun", 64, &data));
            EXPECT_EQ(data, dataOf(view)) << view;
        }
    }
}

}  // namespace
}  // namespace tv
