#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "manage/NameCheck.h"
#include "manage/StartupDisable.h"
#include "manage/StartupRemoval.h"
#include "manage/StartupScan.h"
#include "platform/WideText.h"
#include "restore/RestoreFiles.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

constexpr const char* kUserStartup = "C:\\users\\me\\Startup";
constexpr const char* kCommonStartup = "C:\\ProgramData\\Startup";
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRun32 = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* kWindows = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

std::string Sz(const std::u16string& text) { return utf16::ToBytes(text) + std::string(2, '\0'); }
std::string Dword(std::uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
}

// A value as stored: its type and bytes.
struct Stored {
    std::uint32_t type = 0;
    std::string bytes;
    bool operator==(const Stored& o) const { return type == o.type && bytes == o.bytes; }
};

class StartupDisableTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::NameStartupFolders(fake.registry, kUserStartup, kCommonStartup);
        fake.environment.profileFolder = "C:\\users\\me";
        fake.environment.commonStartupFolder = kCommonStartup;
        fake.files.AddFolder("C:\\Windows");
        fake.files.AddFolder(kUserStartup);
        fake.files.AddFolder(kCommonStartup);
        fake.files.AddFile(std::string(kUserStartup) + "\\App.lnk");
        fake.links.Add(std::string(kUserStartup) + "\\App.lnk", "C:\\App\\app.exe");
        fake.files.AddFile(std::string(kCommonStartup) + "\\Tool.exe");
        RegKey::Create(fake.registry, kHkeyLocalMachine, kWinlogon).SetString("Userinit", "C:\\evil.exe");
        RegKey::Create(fake.registry, kHkeyLocalMachine, kWinlogon).SetString("Shell", "evil.exe");
        RegKey::Create(fake.registry, kHkeyCurrentUser, kWinlogon).SetString("Shell", "C:\\MyShell.exe");
        RegKey::Create(fake.registry, kHkeyLocalMachine, kWindows).SetString("AppInit_DLLs", "C:\\hook.dll");
    }
    void SetRaw(RegHandle root, const std::string& key, const std::u16string& name, Stored value,
                std::uint32_t view = 0) {
        RegKey k = RegKey::Create(fake.registry, root, key, view);
        fake.registry.SetValueW(k.Handle(), name, value.type, value.bytes.data(),
                                static_cast<std::uint32_t>(value.bytes.size()));
    }
    std::optional<Stored> Get(RegHandle root, const std::string& key, const std::u16string& name,
                              std::uint32_t view = 0) {
        RegKey k = RegKey::Open(fake.registry, root, key, kKeyRead | view);
        if (!k) return std::nullopt;
        std::string buffer(4096, '\0');
        std::uint32_t size = 4096, type = 0;
        if (fake.registry.QueryValueW(k.Handle(), name, &type, buffer.data(), &size) != kErrorSuccess)
            return std::nullopt;
        return Stored{type, buffer.substr(0, size)};
    }
    // Every value of a record key, by name.
    std::map<std::u16string, Stored> Record(const std::string& records, const std::u16string& name) {
        std::map<std::u16string, Stored> values;
        RegKey parent = RegKey::Open(fake.registry, kHkeyLocalMachine, records, kKeyRead | View());
        RegHandle key = 0;
        if (!parent || fake.registry.OpenKeyW(parent.Handle(), name, kKeyRead | View(), &key) != kErrorSuccess)
            return values;
        RegKey owned(fake.registry, key);
        std::u16string valueName;
        for (std::uint32_t i = 0; fake.registry.EnumValueW(key, i, &valueName) == kErrorSuccess; ++i) {
            std::string buffer(4096, '\0');
            std::uint32_t size = 4096, type = 0;
            fake.registry.QueryValueW(key, valueName, &type, buffer.data(), &size);
            values[valueName] = Stored{type, buffer.substr(0, size)};
        }
        return values;
    }
    std::vector<std::u16string> RecordNames(const std::string& records) {
        std::vector<std::u16string> names;
        RegKey parent = RegKey::Open(fake.registry, kHkeyLocalMachine, records, kKeyRead | View());
        std::u16string name;
        for (std::uint32_t i = 0; parent && fake.registry.EnumKeyW(parent.Handle(), i, &name) == kErrorSuccess; ++i)
            names.push_back(name);
        return names;
    }
    std::uint32_t View() { return fake.system.is64BitSystem ? kKeyWow64_64Key : 0; }
    std::vector<StartupItem> Rows() { return StartupScan(fake.Get()); }
    static StartupRowTexts Texts(const StartupItem& i) {
        return {i.name, i.root, i.subkey, i.hidden};
    }
    // The row of that name whose column 3 is `subkey`.
    std::optional<StartupRowTexts> RowOf(const std::string& name, const std::string& subkey) {
        for (const StartupItem& i : Rows())
            if (i.name.Shown() == name && i.subkey == subkey) return Texts(i);
        return std::nullopt;
    }
    std::map<std::u16string, Stored> DateValues() {
        return {{u"YEAR", {kRegDword, Dword(2009)}}, {u"MONTH", {kRegDword, Dword(10)}},
                {u"DAY", {kRegDword, Dword(25)}},    {u"HOUR", {kRegDword, Dword(12)}},
                {u"MINUTE", {kRegDword, Dword(0)}},  {u"SECOND", {kRegDword, Dword(0)}}};
    }
    std::vector<std::string> Prompts() {
        std::vector<std::string> texts;
        for (const Prompt& p : fake.prompter.Prompts()) texts.push_back(p.text);
        return texts;
    }
    size_t RestoreFiles() {
        std::vector<FolderEntry> entries;
        fake.files.ListFolder(RestoreFolderPath(fake.Get()), &entries);
        return entries.size();
    }
    testing::FakePlatform fake;
};

TEST_F(StartupDisableTest, ARunValueIsRecordedExactlyAndComesBackByteForByte) {
    struct Case {
        const char* label;
        bool is64;
        RegHandle root;
        std::string keyPath;  // as listed (and as the 64-bit view names it)
        std::string listedRoot;
        std::u16string name;
        Stored value;
        const char* hkey;
        std::u16string command;
        std::u16string item;
        bool ownTypeAndData;  // kept in our own values too
    } cases[] = {
        {"user REG_SZ", false, kHkeyCurrentUser, kRun, "HKEY_CURRENT_USER", u"Tool",
         {kRegSz, Sz(u"C:\\Tool\\tool.exe /min")}, "HKCU", u"C:\\Tool\\tool.exe /min", u"tool", false},
        {"machine REG_EXPAND_SZ", false, kHkeyLocalMachine, kRun, "HKEY_LOCAL_MACHINE", u"Pad",
         {kRegExpandSz, Sz(u"%SystemRoot%\\notepad.exe")}, "HKLM", u"%SystemRoot%\\notepad.exe", u"notepad", true},
        {"REG_SZ without its NUL", false, kHkeyCurrentUser, kRun, "HKEY_CURRENT_USER", u"Bare",
         {kRegSz, utf16::ToBytes(u"C:\\b.exe")}, "HKCU", u"C:\\b.exe", u"b", true},
        {"name outside the code page", false, kHkeyCurrentUser, kRun, "HKEY_CURRENT_USER", u"\u0416\u00e9",
         {kRegSz, Sz(u"C:\\z.exe")}, "HKCU", u"C:\\z.exe", u"z", false},
        {"32-bit view on 64-bit Windows", true, kHkeyLocalMachine, kRun32, "HKEY_LOCAL_MACHINE", u"Old",
         {kRegSz, Sz(u"C:\\old.exe")}, "HKLM", u"C:\\old.exe", u"old", false},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        fake.system.is64BitSystem = c.is64;
        if (c.is64) fake.registry.UseViews(FakeRegistry::Views::TwoFor32BitProgram);
        SetUp();
        // The 32-bit copy is written as a 32-bit program writes it.
        const bool copy = c.keyPath == kRun32;
        const std::string written = copy ? kRun : c.keyPath;
        const std::uint32_t view = copy ? kKeyWow64_32Key : View();
        SetRaw(c.root, written, c.name, c.value, view);
        std::string name8 = fake.codec.WideToAnsi(c.name);
        std::optional<StartupRowTexts> row = RowOf(name8, c.keyPath);
        ASSERT_TRUE(row) << c.label;
        EXPECT_TRUE(DisableStartupItem(fake.Get(), *row)) << c.label;
        EXPECT_FALSE(Get(c.root, written, c.name, view)) << c.label;

        std::map<std::u16string, Stored> expected = DateValues();
        expected[u"hkey"] = {kRegSz, Sz(fake.codec.AnsiToWide(c.hkey))};
        expected[u"key"] = {kRegSz, Sz(fake.codec.AnsiToWide(c.keyPath))};
        expected[u"item"] = {kRegSz, Sz(c.item)};
        expected[u"command"] = {kRegSz, Sz(c.command)};
        expected[u"inimapping"] = {kRegSz, Sz(u"0")};
        if (c.ownTypeAndData) {
            expected[u"TrimvexValueType"] = {kRegDword, Dword(c.value.type)};
            expected[u"TrimvexValueData"] = {kRegBinary, c.value.bytes};
        }
        EXPECT_EQ(Record(kStartupRegRecords, c.name), expected) << c.label;
        EXPECT_EQ(RestoreFiles(), 1u) << c.label;

        // Listed after the enabled rows, marked, and enabled from there.
        std::vector<StartupItem> rows = Rows();
        ASSERT_FALSE(rows.empty());
        const StartupItem& last = rows.back();
        EXPECT_EQ(last.name.Stored(), c.name) << c.label;
        EXPECT_EQ(last.root, c.listedRoot) << c.label;
        EXPECT_EQ(last.subkey, "[已禁用] " + c.keyPath) << c.label;
        EXPECT_EQ(last.hidden.Stored(),
                  u"HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\" + c.name) << c.label;
        EXPECT_TRUE(EnableStartupItem(fake.Get(), Texts(last))) << c.label;
        EXPECT_EQ(Get(c.root, written, c.name, view), std::optional<Stored>(c.value)) << c.label;
        EXPECT_TRUE(RecordNames(kStartupRegRecords).empty()) << c.label;
        EXPECT_EQ(RestoreFiles(), 2u) << c.label;
        EXPECT_TRUE(Prompts().empty()) << c.label;
    }
}

TEST_F(StartupDisableTest, TwoEntriesOfOneNameGetRecordsOfTheirOwn) {
    SetRaw(kHkeyCurrentUser, kRun, u"Tool", {kRegSz, Sz(u"C:\\user.exe")});
    SetRaw(kHkeyLocalMachine, kRun, u"Tool", {kRegSz, Sz(u"C:\\machine.exe")});
    ASSERT_TRUE(DisableStartupItem(fake.Get(), *RowOf("Tool", kRun)));
    // The first found is the user's; then the machine's.
    ASSERT_TRUE(RowOf("Tool", kRun));
    ASSERT_TRUE(DisableStartupItem(fake.Get(), *RowOf("Tool", kRun)));
    EXPECT_EQ(RecordNames(kStartupRegRecords), (std::vector<std::u16string>{u"Tool", u"Tool (2)"}));
    EXPECT_EQ(Record(kStartupRegRecords, u"Tool")[u"command"].bytes, Sz(u"C:\\user.exe"));
    EXPECT_EQ(Record(kStartupRegRecords, u"Tool (2)")[u"command"].bytes, Sz(u"C:\\machine.exe"));
    EXPECT_EQ(Record(kStartupRegRecords, u"Tool (2)")[u"TrimvexValueName"].bytes, Sz(u"Tool"));
    // Both listed under their own name, and both come back where they were.
    std::vector<StartupRowTexts> disabled;
    for (const StartupItem& i : Rows())
        if (IsDisabledRow(Texts(i))) disabled.push_back(Texts(i));
    ASSERT_EQ(disabled.size(), 2u);
    for (const StartupRowTexts& row : disabled) {
        EXPECT_EQ(row.name.Shown(), "Tool");
        EXPECT_TRUE(EnableStartupItem(fake.Get(), row));
    }
    EXPECT_EQ(Get(kHkeyCurrentUser, kRun, u"Tool")->bytes, Sz(u"C:\\user.exe"));
    EXPECT_EQ(Get(kHkeyLocalMachine, kRun, u"Tool")->bytes, Sz(u"C:\\machine.exe"));
}

TEST_F(StartupDisableTest, ARecordPlantedByTheSystemToolIsListedAndEnabled) {
    {
        RegKey record = RegKey::Create(fake.registry, kHkeyLocalMachine,
                                       std::string(kStartupRegRecords) + "\\Planted");
        record.SetString("hkey", "HKCU");
        record.SetString("key", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
        record.SetString("item", "planted");
        record.SetString("command", "C:\\planted.exe -q");
        record.SetString("inimapping", "0");
        for (const char* n : {"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND"}) record.SetDword(n, 1);
    }
    std::optional<StartupRowTexts> row = RowOf("Planted", "[已禁用] " + std::string(kRun));
    ASSERT_TRUE(row);
    EXPECT_TRUE(EnableStartupItem(fake.Get(), *row));
    EXPECT_EQ(Get(kHkeyCurrentUser, kRun, u"Planted"), std::optional<Stored>({kRegSz, Sz(u"C:\\planted.exe -q")}));
    EXPECT_TRUE(RecordNames(kStartupRegRecords).empty());
}

TEST_F(StartupDisableTest, ARecordOutsideTheCatalogueIsNeverListedNorActedOn) {
    struct Case {
        const char* label;
        const char* hkey;
        const char* key;
        // The exact name the record keeps, when it keeps one.
        std::optional<std::u16string> ownName;
    } cases[] = {
        {"a service key", "HKLM", "SYSTEM\\CurrentControlSet\\Services\\Spooler"},
        {"a single-value key", "HKLM", "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon"},
        {"another root", "HKCR", kRun},
        {"an empty own name", "HKCU", kRun, u""},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
        RegKey record = RegKey::Create(fake.registry, kHkeyLocalMachine, std::string(kStartupRegRecords) + "\\Bad");
        record.SetString("hkey", c.hkey);
        record.SetString("key", c.key);
        record.SetString("command", "C:\\evil.exe");
        if (c.ownName)
            SetRaw(kHkeyLocalMachine, std::string(kStartupRegRecords) + "\\Bad", u"TrimvexValueName",
                   {kRegSz, Sz(*c.ownName)});
        for (const StartupItem& i : Rows()) EXPECT_FALSE(IsDisabledRow(Texts(i))) << c.label;
        StartupRowTexts row{EntryName("Bad", u"Bad"), "HKEY_LOCAL_MACHINE", "",
                            EntryName::Of(fake.codec.AnsiToWide(std::string(kStartupRegRecordPrefix) + "Bad"),
                                          fake.codec)};
        EXPECT_FALSE(EnableStartupItem(fake.Get(), row)) << c.label;
        EXPECT_EQ(RecordNames(kStartupRegRecords).size(), 1u) << c.label;
        EXPECT_EQ(RestoreFiles(), 0u) << c.label;
    }
}

// A row that stands for no record (an enabled entry) is not enabled again:
// nothing changes and the list need not be rebuilt.
TEST_F(StartupDisableTest, AnEnabledRowIsNotEnabledAgain) {
    SetRaw(kHkeyCurrentUser, kRun, u"Tool", {kRegSz, Sz(u"C:\\old.exe")});
    EXPECT_FALSE(EnableStartupItem(fake.Get(), *RowOf("Tool", kRun)));
    EXPECT_EQ(Get(kHkeyCurrentUser, kRun, u"Tool")->bytes, Sz(u"C:\\old.exe"));
    EXPECT_TRUE(RecordNames(kStartupRegRecords).empty());
    EXPECT_EQ(RestoreFiles(), 0u);
    EXPECT_TRUE(Prompts().empty());
}

TEST_F(StartupDisableTest, ATakenPlaceIsNotOverwrittenAndTheRecordStays) {
    SetRaw(kHkeyCurrentUser, kRun, u"Tool", {kRegSz, Sz(u"C:\\old.exe")});
    ASSERT_TRUE(DisableStartupItem(fake.Get(), *RowOf("Tool", kRun)));
    SetRaw(kHkeyCurrentUser, kRun, u"Tool", {kRegSz, Sz(u"C:\\new.exe")});
    const std::map<std::u16string, Stored> record = Record(kStartupRegRecords, u"Tool");
    EXPECT_FALSE(EnableStartupItem(fake.Get(), *RowOf("Tool", "[已禁用] " + std::string(kRun))));
    EXPECT_EQ(Prompts(), (std::vector<std::string>{kPlaceTakenMessage}));
    EXPECT_EQ(Get(kHkeyCurrentUser, kRun, u"Tool")->bytes, Sz(u"C:\\new.exe"));
    EXPECT_EQ(Record(kStartupRegRecords, u"Tool"), record);

    // The same for a file.
    const std::string file = std::string(kUserStartup) + "\\App.lnk";
    ASSERT_TRUE(DisableStartupItem(fake.Get(), *RowOf("App.lnk", "")));
    fake.files.AddFile(file);
    fake.prompter.Clear();
    EXPECT_FALSE(EnableStartupItem(fake.Get(), *RowOf("App.lnk", "[已禁用]")));
    EXPECT_EQ(Prompts(), (std::vector<std::string>{kPlaceTakenMessage}));
    EXPECT_TRUE(fake.files.Exists("C:\\Windows\\pss\\App.lnk.Startup"));
    EXPECT_EQ(RecordNames(kStartupFolderRecords).size(), 1u);
}

TEST_F(StartupDisableTest, WhatCannotBeSwitchedOffSaysSoAndNothingChanges) {
    struct Case {
        const char* label;
        std::string name, subkey;
        const char* message;
    } cases[] = {
        {"user shell", "Shell", std::string(kWinlogon) + " [Shell]", kCannotDisableMessage},
        {"AppInit_DLLs", " [AppInit_DLLs 警告]", std::string(kWindows) + " [AppInit_DLLs]", kCannotDisableMessage},
        {"userinit", "Userinit  [警告]", std::string(kWinlogon) + " [Userinit]", kProtectedStartupMessage},
        {"machine shell", "Shell  [警告]", std::string(kWinlogon) + " [Shell]", kProtectedStartupMessage},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
        std::optional<StartupRowTexts> row;
        for (const StartupItem& i : Rows())
            if (i.name.Shown() == c.name && text::EqualsNoCase(i.subkey, c.subkey)) row = Texts(i);
        ASSERT_TRUE(row) << c.label;
        const std::vector<std::string> before = fake.files.AllPaths();
        EXPECT_FALSE(DisableStartupItem(fake.Get(), *row)) << c.label;
        EXPECT_EQ(Prompts(), (std::vector<std::string>{c.message})) << c.label;
        EXPECT_TRUE(RecordNames(kStartupRegRecords).empty()) << c.label;
        EXPECT_EQ(fake.files.AllPaths(), before) << c.label;
    }
    // A name with a NUL reaches another entry: refused.
    SetRaw(kHkeyCurrentUser, kRun, u"Tool", {kRegSz, Sz(u"C:\\t.exe")});
    StartupRowTexts row = *RowOf("Tool", kRun);
    row.name = EntryName(row.name.Shown(), std::u16string(u"Tool\0x", 6));
    fake.prompter.Clear();
    EXPECT_FALSE(DisableStartupItem(fake.Get(), row));
    EXPECT_EQ(Prompts(), (std::vector<std::string>{kUnhandledNameMessage}));
    EXPECT_TRUE(Get(kHkeyCurrentUser, kRun, u"Tool"));
}

// A row listed switched off stands for a record or a task that is off: the
// delete button leaves all of it in place and says to enable it first.
TEST_F(StartupDisableTest, ADisabledRowIsNeverDeletedAndTheUserIsToldToEnableItFirst) {
    const std::u16string logonTask =
        u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
        u"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
        u"  <Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger></Triggers>\r\n"
        u"  <Settings><Enabled>false</Enabled></Settings>\r\n"
        u"  <Actions Context=\"Author\"><Exec><Command>C:\\Off\\off.exe</Command></Exec></Actions>\r\n</Task>\r\n";
    struct Case {
        const char* label;
        std::string name;
        std::string subkey;  // as listed before it was switched off; empty: the task
    } cases[] = {
        {"a Run value", "Tool", kRun},
        {"a startup-folder file", "App.lnk", ""},
        {"a logon task", "Off", ""},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
        SetRaw(kHkeyCurrentUser, kRun, u"Tool", {kRegSz, Sz(u"C:\\Tool\\tool.exe")});
        fake.tasks.Add(u"\\Vendor\\Off", logonTask, false);
        if (c.name != "Off") {
            ASSERT_TRUE(DisableStartupItem(fake.Get(), *RowOf(c.name, c.subkey))) << c.label;
        }
        std::optional<StartupRowTexts> row;
        for (const StartupItem& i : Rows())
            if (i.name.Shown() == c.name && i.subkey.rfind("[已禁用]", 0) == 0) row = Texts(i);
        ASSERT_TRUE(row) << c.label;
        const std::vector<std::u16string> regRecords = RecordNames(kStartupRegRecords);
        const std::vector<std::u16string> folderRecords = RecordNames(kStartupFolderRecords);
        const std::vector<std::string> files = fake.files.AllPaths();
        const size_t restoreFiles = RestoreFiles();
        fake.prompter.Clear();

        EXPECT_FALSE(RemoveStartupItem(fake.Get(), *row)) << c.label;
        EXPECT_EQ(Prompts(), (std::vector<std::string>{"选中的启动项已被禁用，请先启用后再删除。"})) << c.label;
        EXPECT_EQ(RecordNames(kStartupRegRecords), regRecords) << c.label;
        EXPECT_EQ(RecordNames(kStartupFolderRecords), folderRecords) << c.label;
        EXPECT_EQ(fake.files.AllPaths(), files) << c.label;
        EXPECT_EQ(RestoreFiles(), restoreFiles) << c.label;
        ASSERT_EQ(fake.tasks.tasks.size(), 1u) << c.label;
        EXPECT_FALSE(fake.tasks.tasks[0].enabled) << c.label;
        // Still listed, still off, and switched back on from the same row.
        EXPECT_TRUE(EnableStartupItem(fake.Get(), *row)) << c.label;
    }
}

// Where the kept files' folder cannot be made (a file holds its name), a
// startup file stays where it is and the user is told.
TEST_F(StartupDisableTest, NoPlaceToKeepAFileLeavesItWhereItIs) {
    fake.files.AddFile("C:\\Windows\\pss");
    const std::string file = std::string(kUserStartup) + "\\App.lnk";
    EXPECT_FALSE(DisableStartupItem(fake.Get(), *RowOf("App.lnk", "")));
    EXPECT_EQ(Prompts(), (std::vector<std::string>{kDisableFailedMessage}));
    EXPECT_TRUE(fake.files.Exists(file));
    EXPECT_TRUE(RecordNames(kStartupFolderRecords).empty());
}

// With no record name left for it, nothing is switched off; a record gone
// since the list was made switches nothing on and the list is rebuilt.
TEST_F(StartupDisableTest, NoRecordNameLeftOrARecordGoneChangesNothing) {
    struct Case {
        const char* label;
        std::string name;
        std::string subkey;
        const char* records;
        std::u16string recordName;
    } cases[] = {
        {"a Run value", "Tool", kRun, kStartupRegRecords, u"Tool"},
        {"a startup-folder file", "App.lnk", "", kStartupFolderRecords,
         FolderRecordName(u"C:\\users\\me\\Startup\\App.lnk")},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
        SetRaw(kHkeyCurrentUser, kRun, u"Tool", {kRegSz, Sz(u"C:\\Tool\\tool.exe")});
        const std::string base = fake.codec.WideToAnsi(c.recordName);
        for (int n = 1; n <= 100; ++n)
            RegKey::Create(fake.registry, kHkeyLocalMachine,
                           std::string(c.records) + "\\" + base + (n > 1 ? " (" + std::to_string(n) + ")" : ""),
                           View());
        std::vector<std::string> files = fake.files.AllPaths();
        EXPECT_FALSE(DisableStartupItem(fake.Get(), *RowOf(c.name, c.subkey))) << c.label;
        EXPECT_EQ(Prompts(), (std::vector<std::string>{kDisableFailedMessage})) << c.label;
        // At most the kept files' folder is made, empty.
        files.push_back("C:\\Windows\\pss");
        std::vector<std::string> now = fake.files.AllPaths();
        if (std::find(now.begin(), now.end(), "C:\\Windows\\pss") == now.end()) now.push_back("C:\\Windows\\pss");
        std::sort(files.begin(), files.end());
        std::sort(now.begin(), now.end());
        EXPECT_EQ(now, files) << c.label;
        EXPECT_TRUE(Get(kHkeyCurrentUser, kRun, u"Tool")) << c.label;
        EXPECT_EQ(RestoreFiles(), 0u) << c.label;

        fake = testing::FakePlatform();
        SetUp();
        SetRaw(kHkeyCurrentUser, kRun, u"Tool", {kRegSz, Sz(u"C:\\Tool\\tool.exe")});
        ASSERT_TRUE(DisableStartupItem(fake.Get(), *RowOf(c.name, c.subkey))) << c.label;
        std::optional<StartupRowTexts> disabled;
        for (const StartupItem& i : Rows())
            if (i.name.Shown() == c.name && IsDisabledRow(Texts(i))) disabled = Texts(i);
        ASSERT_TRUE(disabled) << c.label;
        RegKey parent = RegKey::Open(fake.registry, kHkeyLocalMachine, c.records, kKeyAllAccess | View());
        ASSERT_EQ(fake.registry.DeleteKeyW(parent.Handle(), c.recordName, View()), kErrorSuccess) << c.label;
        const std::vector<std::string> left = fake.files.AllPaths();
        EXPECT_TRUE(EnableStartupItem(fake.Get(), *disabled)) << c.label;
        EXPECT_TRUE(Prompts().empty()) << c.label;
        EXPECT_EQ(fake.files.AllPaths(), left) << c.label;
        if (!c.subkey.empty()) {
            EXPECT_FALSE(Get(kHkeyCurrentUser, kRun, u"Tool")) << c.label;
        }
        EXPECT_EQ(RestoreFiles(), 1u) << c.label;
    }
}

TEST_F(StartupDisableTest, AStartupFolderFileMovesToPssAndBack) {
    struct Case {
        const char* label;
        std::string name;
        std::string folder;
        std::u16string extension;
        std::u16string command;
    } cases[] = {
        {"user shortcut", "App.lnk", kUserStartup, u".Startup", u"C:\\App\\app.exe"},
        {"common file", "Tool.exe", kCommonStartup, u".CommonStartup", u"C:\\ProgramData\\Startup\\Tool.exe"},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
        const std::string file = c.folder + "\\" + c.name;
        const std::string contents = fake.files.Contents(file);
        std::optional<StartupRowTexts> row = RowOf(c.name, "");
        ASSERT_TRUE(row) << c.label;
        std::string shown;
        for (const StartupItem& i : Rows())
            if (i.name.Shown() == c.name && i.subkey.empty()) shown = i.path;
        EXPECT_TRUE(DisableStartupItem(fake.Get(), *row)) << c.label;
        const std::u16string backup = u"C:\\Windows\\pss\\" + fake.codec.AnsiToWide(c.name) + c.extension;
        EXPECT_FALSE(fake.files.Exists(file)) << c.label;
        EXPECT_TRUE(fake.files.ExistsW(backup)) << c.label;
        const std::u16string path = fake.codec.AnsiToWide(file);
        const std::u16string recordName = FolderRecordName(path);
        EXPECT_EQ(recordName.find(u'\\'), std::u16string::npos);
        EXPECT_NE(recordName.find(u'^'), std::u16string::npos);
        std::map<std::u16string, Stored> expected = DateValues();
        expected[u"path"] = {kRegSz, Sz(path)};
        expected[u"backup"] = {kRegSz, Sz(backup)};
        expected[u"backupExtension"] = {kRegSz, Sz(c.extension)};
        expected[u"location"] = {kRegSz, Sz(fake.codec.AnsiToWide(c.folder))};
        expected[u"command"] = {kRegSz, Sz(c.command)};
        expected[u"item"] = {kRegSz, Sz(fake.codec.AnsiToWide(c.name.substr(0, c.name.rfind('.'))))};
        EXPECT_EQ(Record(kStartupFolderRecords, recordName), expected) << c.label;
        EXPECT_EQ(RestoreFiles(), 1u) << c.label;

        std::optional<StartupRowTexts> disabled = RowOf(c.name, "[已禁用]");
        ASSERT_TRUE(disabled) << c.label;
        // Listed with the path its enabled row showed.
        for (const StartupItem& i : Rows())
            if (i.name.Shown() == c.name && i.subkey == "[已禁用]") {
                EXPECT_EQ(i.path, shown) << c.label;
            }
        EXPECT_TRUE(EnableStartupItem(fake.Get(), *disabled)) << c.label;
        EXPECT_TRUE(fake.files.Exists(file)) << c.label;
        EXPECT_EQ(fake.files.Contents(file), contents) << c.label;
        EXPECT_FALSE(fake.files.ExistsW(backup)) << c.label;
        EXPECT_TRUE(RecordNames(kStartupFolderRecords).empty()) << c.label;
        EXPECT_TRUE(Prompts().empty()) << c.label;
    }
}

TEST_F(StartupDisableTest, AFileAlreadyKeptUnderItsNameIsNotOverwritten) {
    fake.files.AddFolder("C:\\Windows\\pss");
    fake.files.AddFile("C:\\Windows\\pss\\App.lnk.Startup");
    fake.files.AddFile("C:\\Windows\\pss\\App.lnk (2).Startup");
    const std::string file = std::string(kUserStartup) + "\\App.lnk";
    const std::string contents = fake.files.Contents(file);
    std::optional<StartupRowTexts> row = RowOf("App.lnk", "");
    ASSERT_TRUE(row);
    EXPECT_TRUE(DisableStartupItem(fake.Get(), *row));
    EXPECT_EQ(fake.files.Contents("C:\\Windows\\pss\\App.lnk.Startup"), "");
    EXPECT_EQ(fake.files.Contents("C:\\Windows\\pss\\App.lnk (2).Startup"), "");
    EXPECT_EQ(fake.files.Contents("C:\\Windows\\pss\\App.lnk (3).Startup"), contents);
    EXPECT_FALSE(fake.files.Exists(file));
    const std::u16string record = FolderRecordName(fake.codec.AnsiToWide(file));
    EXPECT_EQ(Record(kStartupFolderRecords, record)[u"backup"],
              (Stored{kRegSz, Sz(u"C:\\Windows\\pss\\App.lnk (3).Startup")}));
}

TEST_F(StartupDisableTest, AFolderRecordNamingAnotherFolderIsNeverActedOn) {
    fake.files.AddFolder("C:\\Windows\\pss");
    fake.files.AddFile("C:\\Windows\\pss\\x.exe.Startup");
    struct Case {
        const char* label;
        const char* path;
        const char* location;
        const char* backup;
    } cases[] = {
        {"system folder", "C:\\Windows\\system32\\x.exe", "C:\\Windows\\system32", "C:\\Windows\\pss\\x.exe.Startup"},
        {"backup elsewhere", "C:\\users\\me\\Startup\\x.exe", kUserStartup, "C:\\secret\\x.exe"},
        {"location differs", "C:\\users\\me\\Startup\\x.exe", "C:\\Windows", "C:\\Windows\\pss\\x.exe.Startup"},
        {"the folder itself", "C:\\users\\me\\Startup\\..", kUserStartup, "C:\\Windows\\pss\\x.exe.Startup"},
    };
    for (const Case& c : cases) {
        RegKey record = RegKey::Create(fake.registry, kHkeyLocalMachine, std::string(kStartupFolderRecords) + "\\r");
        record.SetString("path", c.path);
        record.SetString("backup", c.backup);
        record.SetString("location", c.location);
        for (const StartupItem& i : Rows()) EXPECT_FALSE(IsDisabledRow(Texts(i))) << c.label;
        const std::string hidden = std::string(kStartupFolderRecordPrefix) + "r";
        EXPECT_FALSE(EnableStartupItem(fake.Get(), {EntryName("x.exe", u"x.exe"), "", "[已禁用]",
                                                    EntryName(hidden, fake.codec.AnsiToWide(hidden))}))
            << c.label;
        EXPECT_TRUE(fake.files.Exists("C:\\Windows\\pss\\x.exe.Startup")) << c.label;
        EXPECT_EQ(RestoreFiles(), 0u) << c.label;
    }
}

}  // namespace
}  // namespace tv
