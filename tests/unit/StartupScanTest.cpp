#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <functional>
#include <string>
#include <vector>

#include "manage/StartupScan.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

constexpr const char* kUserStartup = "C:\\users\\me\\Start Menu\\Programs\\Startup";
constexpr const char* kCommonStartup = "C:\\ProgramData\\Start Menu\\Programs\\Startup";
constexpr const char* kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// One row as text: every column and the icon choice.
std::string Row(const StartupItem& i) {
    return i.name.Shown() + " | " + i.path + " | " + i.root + " | " + i.subkey + " | " + i.hidden.Shown() +
           " | " + i.iconFile + " | " + std::to_string(i.iconResource);
}

std::vector<std::string> Rows(const std::vector<StartupItem>& items) {
    std::vector<std::string> rows;
    for (const StartupItem& i : items) rows.push_back(Row(i));
    return rows;
}

class StartupScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::NameStartupFolders(fake.registry, kUserStartup, kCommonStartup);
        fake.files.AddFolder(kUserStartup);
        fake.files.AddFolder(kCommonStartup);
        fake.files.AddFolder("C:\\Windows\\system32");
    }
    void Set(RegHandle root, const std::string& key, const std::string& name,
             const std::string& data) {
        RegKey::Create(fake.registry, root, key).SetString(name, data);
    }
    std::vector<std::string> Scan() { return Rows(StartupScan(fake.Get())); }
    testing::FakePlatform fake;
};

TEST_F(StartupScanTest, NothingListedOnADefaultSystem) {
    RegKey::Create(fake.registry, kHkeyCurrentUser, kRun);  // empty Run key
    Set(kHkeyLocalMachine, kWinlogon, "Shell", "Explorer.exe");
    Set(kHkeyLocalMachine, kWinlogon, "Userinit", "C:\\Windows\\system32\\userinit.exe,");
    RegKey::Create(fake.registry, kHkeyLocalMachine,
                   "SYSTEM\\CurrentControlSet\\Control\\Session Manager")
        .SetMultiString("BootExecute", {"autocheck autochk *"});
    Set(kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Terminal Server\\Wds\\rdpwd",
        "StartupPrograms", "rdpclip");
    Set(kHkeyCurrentUser, "Control Panel\\Desktop", "SCRNSAVE.EXE",
        "C:\\Windows\\System32\\logon.scr");
    Set(kHkeyCurrentUser, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Load", "");
    EXPECT_EQ(Scan(), std::vector<std::string>{});
    EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
}

TEST_F(StartupScanTest, SingleValuesListedWhenTheyDifferFromTheDefaults) {
    const std::string sm = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    const std::string rdp = "SYSTEM\\CurrentControlSet\\Control\\Terminal Server\\Wds\\rdpwd";
    const std::string desk = "Control Panel\\Desktop";
    struct Case {
        RegHandle root;
        std::string key, name;
        std::vector<std::string> data;  // one string: REG_SZ; more: REG_MULTI_SZ
        std::vector<std::string> expected;
    } cases[] = {
        {kHkeyLocalMachine, kWinlogon, "Shell", {"explorer.EXE"}, {}},
        {kHkeyLocalMachine, kWinlogon, "Shell", {"EXPLORER.EXE"}, {}},
        {kHkeyLocalMachine, kWinlogon, "Shell", {"explorer.exe,evil.exe"},
         {"Shell  [警告] | explorer.exe,evil.exe | HKEY_LOCAL_MACHINE | " + std::string(kWinlogon) +
          " [Shell] | HKLM\\" + kWinlogon + " [Shell] |  | 167"}},
        {kHkeyLocalMachine, kWinlogon, "Userinit", {"c:\\WINDOWS\\SYSTEM32\\USERINIT.EXE,"}, {}},
        {kHkeyLocalMachine, kWinlogon, "Userinit", {"C:\\Windows\\system32\\userinit.exe"},
         {"Userinit  [警告] | C:\\Windows\\system32\\userinit.exe | HKEY_LOCAL_MACHINE | " +
          std::string(kWinlogon) + " [Userinit] | HKLM\\" + kWinlogon + " [Userinit] |  | 167"}},
        {kHkeyLocalMachine, sm, "BootExecute", {"autocheck autochk *", ""}, {}},
        {kHkeyLocalMachine, sm, "BootExecute", {"AUTOCHECK AUTOCHK *", "other"}, {}},
        {kHkeyLocalMachine, sm, "BootExecute", {"autocheck autochk /p \\??\\C:", "x"},
         {"Load [警告] | autocheck autochk /p \\??\\c: | HKEY_LOCAL_MACHINE | " + sm +
          " [BootExecute] | HKLM\\" + sm + " [BootExecute] |  | 167"}},
        {kHkeyLocalMachine, sm, "BootExecute", {""}, {}},
        {kHkeyCurrentUser, desk, "SCRNSAVE.EXE", {"c:\\windows\\system32\\LOGON.SCR"}, {}},
        {kHkeyCurrentUser, desk, "SCRNSAVE.EXE", {"C:\\Windows\\system32\\ssText3d.scr"},
         {"屏幕保护  [注意] | c:\\windows\\system32\\sstext3d.scr | HKEY_CURRENT_USER | " + desk +
          " [SCRNSAVE.EXE] | HKCU\\" + desk + " [SCRNSAVE.EXE] |  | 160"}},
        {kHkeyCurrentUser, desk, "SCRNSAVE.EXE", {""}, {}},
        {kHkeyLocalMachine, rdp, "StartupPrograms", {"RDPCLIP"}, {}},
        {kHkeyLocalMachine, rdp, "StartupPrograms", {"rdpclip,evil"},
         {"StartupPrograms  [警告] | rdpclip,evil.exe | HKEY_LOCAL_MACHINE | " + rdp +
          " [StartupPrograms] | HKLM\\" + rdp + " [StartupPrograms] |  | 160"}},
        {kHkeyCurrentUser, kWinlogon, "Shell", {"C:\\Shell\\MyShell.exe /x"},
         {"Shell | c:\\shell\\myshell.exe | HKEY_CURRENT_USER | " + std::string(kWinlogon) +
          " [Shell] | HKCU\\" + kWinlogon + " [Shell] | c:\\shell\\myshell.exe | 178"}},
        {kHkeyLocalMachine, "Software\\Microsoft\\Command Processor", "AutoRun", {"C:\\a.bat"},
         {"AutoRun  [警告] | c:\\a.bat | HKEY_LOCAL_MACHINE | Software\\Microsoft\\Command "
          "Processor [AutoRun] | HKLM\\Software\\Microsoft\\Command Processor [AutoRun] |  | 167"}},
        {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows",
         "AppInit_DLLs", {"C:\\Hook\\hook.dll"},
         {" [AppInit_DLLs 警告] | c:\\hook\\hook.dll | HKEY_LOCAL_MACHINE | SOFTWARE\\Microsoft\\"
          "Windows NT\\CurrentVersion\\Windows [AppInit_DLLs] | HKLM\\SOFTWARE\\Microsoft\\Windows "
          "NT\\CurrentVersion\\Windows [AppInit_DLLs] |  | 167"}},
        {kHkeyLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Load",
         {"C:\\L\\l.exe"},
         {"Load | c:\\l\\l.exe | HKEY_LOCAL_MACHINE | Software\\Microsoft\\Windows "
          "NT\\CurrentVersion\\Windows [Load] | HKLM\\Software\\Microsoft\\Windows "
          "NT\\CurrentVersion\\Windows [Load] | c:\\l\\l.exe | 178"}},
    };
    for (const Case& c : cases) {
        fake.registry = FakeRegistry();
        SetUp();
        RegKey key = RegKey::Create(fake.registry, c.root, c.key);
        if (c.data.size() == 1)
            key.SetString(c.name, c.data[0]);
        else
            key.SetMultiString(c.name, c.data);
        EXPECT_EQ(Scan(), c.expected) << c.key << " " << c.name << " " << c.data[0];
    }
}

TEST_F(StartupScanTest, RunKeysListEveryValueResolved) {
    Set(kHkeyCurrentUser, kRun, "Tool", "\"C:\\Program Files\\Tool\\Tool.exe\" -min");
    Set(kHkeyLocalMachine, kRun, "ctfmon", "ctfmon.exe /n");
    fake.files.AddFile("C:\\Windows\\system32\\ctfmon.exe");
    Set(kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run",
        "Pol", "%SystemRoot%\\pol.exe");
    // Longer than the 255 bytes a fixed buffer would hold: still listed in full.
    const std::string longName(300, 'N');
    const std::string longData = "C:\\" + std::string(400, 'd') + "\\x.exe /q";
    Set(kHkeyCurrentUser, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", longName, longData);
    // Chinese text keeps its characters (the trail byte of 旹 is 'E').
    Set(kHkeyCurrentUser, kRun, "中文旹", "C:\\旹\\Ab.EXE");
    // Longer than any command line Windows runs: 512 KiB of "rundll32.exe "
    // (what each pass removes) is resolved from its first 32,767 characters
    // only, which end in the middle of the 2,521st "rundll32.exe ".
    std::string huge;
    while (huge.size() < 512 * 1024) huge += "rundll32.exe ";
    Set(kHkeyCurrentUser, kRun, "Huge", huge);
    RegKey::Create(fake.registry, kHkeyCurrentUser, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx");
    std::vector<std::string> rows = Scan();
    std::vector<std::string> expected = {
        "Tool | c:\\program files\\tool\\tool.exe | HKEY_CURRENT_USER | " + std::string(kRun) +
            " | HKCU\\" + kRun + " | c:\\program files\\tool\\tool.exe | 178",
        "中文旹 | c:\\旹\\ab.exe | HKEY_CURRENT_USER | " + std::string(kRun) + " | HKCU\\" + kRun +
            " | c:\\旹\\ab.exe | 178",
        "Huge | rundll3 | HKEY_CURRENT_USER | " + std::string(kRun) + " | HKCU\\" + kRun +
            " | rundll3 | 178",
        longName + " | c:\\" + std::string(400, 'd') + "\\x.exe | HKEY_CURRENT_USER | SOFTWARE\\"
            "Microsoft\\Windows\\CurrentVersion\\RunOnce | HKCU\\SOFTWARE\\Microsoft\\Windows\\"
            "CurrentVersion\\RunOnce | c:\\" + std::string(400, 'd') + "\\x.exe | 178",
        "ctfmon | C:\\Windows\\system32\\ctfmon.exe | HKEY_LOCAL_MACHINE | " + std::string(kRun) +
            " | HKLM\\" + kRun + " | C:\\Windows\\system32\\ctfmon.exe | 178",
        "Pol | c:\\windows\\pol.exe | HKEY_LOCAL_MACHINE | Software\\Microsoft\\Windows\\"
            "CurrentVersion\\Policies\\Explorer\\Run | HKLM\\Software\\Microsoft\\Windows\\"
            "CurrentVersion\\Policies\\Explorer\\Run | c:\\windows\\pol.exe | 178",
    };
    std::vector<std::string> sortedRows = rows, sortedExpected = expected;
    std::sort(sortedRows.begin(), sortedRows.end());
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(sortedRows, sortedExpected);
    // Catalogue order: the user's keys before the machine's.
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[4].substr(0, 6), "ctfmon");
    EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
    // 32-bit Windows: one view, asked for without any view bit.
    EXPECT_FALSE(fake.registry.ViewBitsSeen());
}

// A value whose data grows between every two reads: the scan ends all the
// same; a Run value keeps its row, without a path, and a single value that
// cannot be read is not listed.
TEST_F(StartupScanTest, AValueThatNeverStopsGrowingEndsTheScan) {
    struct GrowingRegistry : FakeRegistry {
        long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type, void* data,
                        std::uint32_t* size) override {
            if (name == "Grows" || name == "Shell") return Grow(size, data);
            return FakeRegistry::QueryValue(key, name, type, data, size);
        }
        long QueryValueW(RegHandle key, const std::u16string& name, std::uint32_t* type,
                         void* data, std::uint32_t* size) override {
            if (name == u"Grows") return Grow(size, data);
            return FakeRegistry::QueryValueW(key, name, type, data, size);
        }
        static long Grow(std::uint32_t* size, void* data) {
            if (data == nullptr || size == nullptr) return kErrorSuccess;
            *size += 16;
            return kErrorMoreData;
        }
    } registry;
    registry.UseCodec(std::make_shared<testing::FakePlatform::Codec>());
    RegKey::Create(registry, kHkeyCurrentUser, kRun).SetString("Grows", std::string(300, 'g'));
    RegKey::Create(registry, kHkeyCurrentUser, kRun).SetString("Fine", "C:\\fine.exe");
    RegKey::Create(registry, kHkeyLocalMachine, kWinlogon).SetString("Shell", "evil.exe");
    Platform platform = fake.Get();
    platform.registry = registry;
    const std::vector<std::string> rows = Rows(StartupScan(platform));
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "Grows |  | HKEY_CURRENT_USER | " + std::string(kRun) + " | HKCU\\" + kRun +
                            " |  | 178",
                        "Fine | c:\\fine.exe | HKEY_CURRENT_USER | " + std::string(kRun) + " | HKCU\\" +
                            kRun + " | c:\\fine.exe | 178"}));
}

TEST_F(StartupScanTest, StartupFoldersListFilesAndShortcutTargets) {
    const std::string user = kUserStartup;
    const std::string common = kCommonStartup;
    fake.files.AddFile(user + "\\Tool.lnk");
    fake.links.Add(user + "\\tool.lnk", "C:\\Program Files\\Tool\\Tool.exe");
    fake.files.AddFile(user + "\\desktop.ini");
    fake.files.AddFile(user + "\\Notes.TXT");
    // Only shortcuts are resolved, whatever the link object would make of
    // another file.
    fake.links.Add(user + "\\notes.txt", "C:\\Elsewhere\\other.exe");
    fake.files.AddFile(user + "\\Broken.lnk");  // cannot be loaded
    // A shortcut to a desktop.ini goes as the file itself does.
    fake.files.AddFile(user + "\\Ini.lnk");
    fake.links.Add(user + "\\ini.lnk", "C:\\Elsewhere\\Desktop.ini");
    fake.files.AddFolder(user + "\\Sub");
    fake.files.AddFile(user + "\\Sub\\Deep.exe");
    fake.files.AddFolder(user + "\\.hidden");
    fake.files.AddFile(user + "\\.hidden\\Secret.exe");
    fake.files.AddFile(common + "\\Shared.exe");
    fake.files.AddFile(common + "\\Desktop.ini");
    fake.files.AddFolder("C:\\Work");
    ASSERT_TRUE(fake.files.SetWorkingFolder("C:\\Work"));
    const std::string lowUser = "c:\\users\\me\\start menu\\programs\\startup";
    const std::string lowCommon = "c:\\programdata\\start menu\\programs\\startup";
    std::vector<std::string> rows = Scan();
    std::sort(rows.begin(), rows.end());
    std::vector<std::string> expected = {
        "Broken.lnk | " + lowUser + "\\broken.lnk | " + lowUser + "\\broken.lnk |  | " + user +
            "\\Broken.lnk | " + lowUser + "\\broken.lnk | 176",
        "Deep.exe | " + lowUser + "\\sub\\deep.exe | " + lowUser + "\\sub\\deep.exe |  | " + user +
            "\\Sub\\Deep.exe | " + lowUser + "\\sub\\deep.exe | 176",
        "Notes.TXT | " + lowUser + "\\notes.txt | " + lowUser + "\\notes.txt |  | " + user +
            "\\Notes.TXT | " + lowUser + "\\notes.txt | 176",
        "Shared.exe | " + lowCommon + "\\shared.exe | " + lowCommon + "\\shared.exe |  | " +
            common + "\\Shared.exe | " + lowCommon + "\\shared.exe | 176",
        "Tool.lnk | C:\\Program Files\\Tool\\Tool.exe | C:\\Program Files\\Tool\\Tool.exe |  | " +
            user + "\\Tool.lnk | C:\\Program Files\\Tool\\Tool.exe | 176",
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(fake.files.WorkingFolder(), "C:\\Work");
}

// The walk stays inside each startup folder's own tree and ends: links the
// platform flags are never entered, and links it does not flag (Unix
// symbolic links under Wine) are caught by folder identity.
TEST_F(StartupScanTest, FolderWalkStaysInsideTheFolderAndEnds) {
    const std::string user = kUserStartup;
    const std::string programs = "C:\\Users\\me\\Start Menu\\Programs";
    fake.files.AddFile(user + "\\Mine.exe");
    fake.files.AddFolder(user + "\\Sub");
    fake.files.AddFile(user + "\\Sub\\Deep.exe");
    fake.files.AddLink(user + "\\Junction");
    fake.files.AddFile(user + "\\Junction\\Outside.exe");
    fake.files.AddAlias(user + "\\Self", user);
    fake.files.AddAlias(user + "\\Sub\\Back", user);
    fake.files.AddAlias(user + "\\Up", programs);
    fake.files.AddFile(programs + "\\Game.lnk");
    fake.files.AddAlias(user + "\\Root", "C:\\");
    fake.files.AddFile("C:\\stray.exe");
    // A chain 33 folders deep: files down to the 8th level are listed, and
    // a row says that the 9th level's folder was not walked. An empty folder
    // as deep leaves nothing out: no row for it.
    std::string deep = user + "\\Sub";
    for (int level = 2; level <= 33; ++level) {
        deep += "\\L" + std::to_string(level);
        fake.files.AddFile(deep + "\\At" + std::to_string(level) + ".exe");
        if (level == 8) fake.files.AddFolder(deep + "\\Empty");
    }
    std::vector<std::string> names;
    std::vector<std::string> notices;
    for (const StartupItem& item : StartupScan(fake.Get())) {
        if (item.iconResource == kIconNotice) notices.push_back(Row(item));
        else names.push_back(item.hidden.Shown());
    }
    std::vector<std::string> expected = {user + "\\Mine.exe", user + "\\Sub\\Deep.exe"};
    deep = user + "\\Sub";
    for (int level = 2; level <= 8; ++level) {
        deep += "\\L" + std::to_string(level);
        expected.push_back(deep + "\\At" + std::to_string(level) + ".exe");
    }
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    const std::string ninth = "c:\\users\\me\\start menu\\programs\\startup\\sub\\l2\\l3\\l4\\l5"
                              "\\l6\\l7\\l8\\l9";
    EXPECT_EQ(notices, std::vector<std::string>{"（文件夹层次超过 8 层，更深处的未列出） | " + ninth +
                                                " | " + ninth + " |  |  |  | 160"});
}

// A startup folder pointed at a whole drive: the walk takes 2,000 entries
// (files and folders, wherever they are in the tree) and no more, and a last
// row says that the folder holds more than it lists.
TEST_F(StartupScanTest, FolderWalkTakesAtMostTwoThousandEntriesAndSaysSo) {
    struct Case {
        int top;      // files F0000.exe... directly in the folder
        int inSub;    // files S0000.exe... in its subfolder "Sub", if any
        int listed;   // file rows
        bool notice;
    } cases[] = {
        {2000, 0, 2000, false},
        {2001, 0, 2000, true},
        {1500, 499, 1999, false},  // 1,500 files, the subfolder and its 499 files
        {1500, 500, 1999, true},
        {1500, 3000, 1999, true},
    };
    const std::string user = kUserStartup;
    const std::string low = "c:\\users\\me\\start menu\\programs\\startup";
    const auto Name = [](char initial, int number) {
        std::string digits = std::to_string(number);
        return initial + std::string(4 - digits.size(), '0') + digits + ".exe";
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.top) + " + " + std::to_string(c.inSub));
        fake.files = FakeFileSystem();
        SetUp();
        for (int i = 0; i < c.top; ++i) fake.files.AddFile(user + "\\" + Name('F', i));
        if (c.inSub > 0) fake.files.AddFolder(user + "\\Sub");
        for (int i = 0; i < c.inSub; ++i) fake.files.AddFile(user + "\\Sub\\" + Name('S', i));
        const std::vector<StartupItem> items = StartupScan(fake.Get());
        std::vector<std::string> files, notices;
        for (const StartupItem& item : items)
            (item.iconResource == kIconNotice ? notices : files).push_back(item.name.Shown());
        ASSERT_EQ(files.size(), static_cast<std::size_t>(c.listed));
        // The first entries are the ones listed; every other row is as ever.
        EXPECT_EQ(files.front(), "F0000.exe");
        const int inSubListed = c.listed - std::min(c.top, c.listed);
        EXPECT_EQ(files.back(), inSubListed > 0 ? Name('S', inSubListed - 1) : Name('F', c.listed - 1));
        EXPECT_EQ(Row(items.front()), "F0000.exe | " + low + "\\f0000.exe | " + low + "\\f0000.exe |  | " +
                                          user + "\\F0000.exe | " + low + "\\f0000.exe | 176");
        if (!c.notice) {
            EXPECT_TRUE(notices.empty());
            continue;
        }
        EXPECT_EQ(Row(items.back()),
                  "（此文件夹中超过 2000 项，其余的未列出） | " + low + " | " + low + " |  |  |  | 160");
        EXPECT_EQ(notices.size(), 1u);
    }
}

// What the scan read, kind by kind, until a stop that says so from the first
// read of one kind on.
enum class StopAt { Never, Value, Listing, Shortcut, Task };

struct Reads {
    StopAt at = StopAt::Never;
    bool stopped = false;
    int values = 0;             // values of multi-value keys, read by index
    int queriesAfterStop = 0;   // values read by name once stopped
    int listings = 0;
    int shortcuts = 0;
    int taskProbes = 0;         // file probes made resolving task commands
    void Read(StopAt kind) { stopped = stopped || kind == at; }
};

struct CountingRegistry : FakeRegistry {
    Reads* reads = nullptr;
    long EnumValueData(RegHandle key, std::uint32_t index, std::string* name, std::uint32_t* type,
                       void* data, std::uint32_t* size) override {
        ++reads->values;
        reads->Read(StopAt::Value);
        return FakeRegistry::EnumValueData(key, index, name, type, data, size);
    }
    long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override {
        reads->queriesAfterStop += reads->stopped;
        return FakeRegistry::QueryValue(key, name, type, data, size);
    }
    long QueryValueW(RegHandle key, const std::u16string& name, std::uint32_t* type, void* data,
                     std::uint32_t* size) override {
        reads->queriesAfterStop += reads->stopped;
        return FakeRegistry::QueryValueW(key, name, type, data, size);
    }
};

struct CountingFiles : FakeFileSystem {
    Reads* reads = nullptr;
    bool ListFolderW(const std::u16string& folder, std::vector<FolderEntry>* entries) const override {
        ++reads->listings;
        reads->Read(StopAt::Listing);
        return FakeFileSystem::ListFolderW(folder, entries);
    }
    bool Exists(const std::string& path) const override {
        if (path.find("task") != std::string::npos) {
            ++reads->taskProbes;
            reads->Read(StopAt::Task);
        }
        return FakeFileSystem::Exists(path);
    }
};

// Reads one shortcut at a time through the bundle's fake, as long as the
// stop it is handed lets it.
struct CountingLinks : ShellLinks {
    CountingLinks(const FakeShellLinks& links, Reads* counts) : inner(links), reads(counts) {}
    bool ReadTarget(const std::string& linkPath, std::string* target) const override {
        return inner.ReadTarget(linkPath, target);
    }
    std::vector<std::optional<std::string>> ReadTargetsW(
        const std::vector<std::u16string>& linkPaths, const std::function<bool()>& stop) const override {
        std::vector<std::optional<std::string>> targets;
        for (const std::u16string& path : linkPaths) {
            if (stop && stop()) break;
            ++reads->shortcuts;
            reads->Read(StopAt::Shortcut);
            targets.push_back(inner.ReadTargetsW({path}).front());
        }
        return targets;
    }
    const FakeShellLinks& inner;
    Reads* reads;
};

// A stop reaches every loop of the scan: once it says so, not one more
// value, folder, shortcut or task is read.
TEST_F(StartupScanTest, AStopEndsEveryLoopAtTheNextRead) {
    struct Case {
        StopAt at;
        int values, listings, shortcuts, taskProbes;
        std::size_t rows;
    } cases[] = {
        // Three Run values (and the read that finds no fourth), the two
        // folders and a subfolder, two shortcuts, three tasks of three
        // probes each; 4 + 1 folder rows, 3 + 1 registry rows, 3 task rows.
        {StopAt::Never, 4, 3, 2, 9, 12},
        {StopAt::Value, 1, 3, 2, 0, 6},
        {StopAt::Listing, 0, 1, 0, 0, 0},
        {StopAt::Shortcut, 0, 2, 1, 0, 4},
        {StopAt::Task, 4, 3, 2, 3, 10},
    };
    const std::string user = kUserStartup;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.at));
        Reads reads;
        reads.at = c.at;
        auto codec = std::make_shared<testing::FakePlatform::Codec>();
        CountingRegistry registry;
        registry.reads = &reads;
        registry.UseCodec(codec);
        CountingFiles files;
        files.reads = &reads;
        files.UseCodec(codec);
        FakeShellLinks links;
        links.UseCodec(codec);
        CountingLinks counted(links, &reads);
        testing::FakePlatform bundle;
        testing::NameStartupFolders(registry, user, kCommonStartup);
        for (const char* name : {"one", "two", "three"})
            RegKey::Create(registry, kHkeyCurrentUser, kRun).SetString(name, std::string(name) + ".exe");
        RegKey::Create(registry, kHkeyLocalMachine, kWinlogon).SetString("Shell", "evil.exe");
        files.AddFile(user + "\\A.lnk");
        files.AddFile(user + "\\B.lnk");
        files.AddFile(user + "\\C.exe");
        files.AddFile(user + "\\Sub\\D.exe");
        files.AddFile(std::string(kCommonStartup) + "\\E.exe");
        links.Add(user + "\\A.lnk", "C:\\a.exe");
        links.Add(user + "\\B.lnk", "C:\\b.exe");
        for (const char16_t* task : {u"\\task1", u"\\task2", u"\\task3"})
            bundle.tasks.Add(task, u"<Task><Triggers><LogonTrigger/></Triggers><Actions><Exec><Command>" +
                                       std::u16string(task + 1) + u".exe</Command></Exec></Actions></Task>");
        Platform platform = bundle.Get();
        platform.registry = registry;
        platform.files = files;
        platform.links = counted;
        const std::vector<StartupItem> items = StartupScan(platform, [&reads] { return reads.stopped; });
        EXPECT_EQ(reads.values, c.values);
        EXPECT_EQ(reads.queriesAfterStop, 0);
        EXPECT_EQ(reads.listings, c.listings);
        EXPECT_EQ(reads.shortcuts, c.shortcuts);
        EXPECT_EQ(reads.taskProbes, c.taskProbes);
        EXPECT_EQ(items.size(), c.rows);
    }
}

// Hangul is outside code page 936: such names read as '?' in 8-bit text,
// which names no file. Rows carry each file's exact name and path beside
// the 8-bit forms, subfolders so named are walked, and shortcuts so named
// are read.
TEST_F(StartupScanTest, FolderRowsCarryTheirFilesExactly) {
    const std::string user = kUserStartup;
    const std::string low = "c:\\users\\me\\start menu\\programs\\startup";
    const std::u16string exactUser(user.begin(), user.end());
    const std::u16string kakao = u"\uCE74\uCE74\uC624.exe";  // 카카오.exe
    fake.files.AddFile(exactUser + u"\\" + kakao);
    fake.files.AddFile(exactUser + u"\\\uCE74.exe");      // 카.exe
    fake.files.AddFile(exactUser + u"\\\uC624.exe");      // 오.exe
    fake.files.AddFile(exactUser + u"\\\uD55C\\In.exe");  // 한\In.exe
    fake.files.AddFile(exactUser + u"\\\uCE74.lnk");      // 카.lnk
    fake.links.Add(exactUser + u"\\\uCE74.lnk", "C:\\Tool\\tool.exe");
    fake.files.AddFile(user + "\\\xD6\xD0.exe");  // 中.exe
    std::vector<std::string> rows;
    std::vector<std::u16string> exact;
    for (const StartupItem& item : StartupScan(fake.Get())) {
        rows.push_back(item.name.Shown() + " | " + item.path + " | " + item.hidden.Shown());
        exact.push_back(item.name.Stored() + u" | " + item.hidden.Stored());
    }
    std::vector<std::string> expectedRows = {
        "???.exe | " + low + "\\???.exe | " + user + "\\???.exe",
        "?.exe | " + low + "\\?.exe | " + user + "\\?.exe",
        "?.exe | " + low + "\\?.exe | " + user + "\\?.exe",
        "?.lnk | C:\\Tool\\tool.exe | " + user + "\\?.lnk",
        "In.exe | " + low + "\\?\\in.exe | " + user + "\\?\\In.exe",
        "\xD6\xD0.exe | " + low + "\\\xD6\xD0.exe | " + user + "\\\xD6\xD0.exe",
    };
    std::vector<std::u16string> expectedExact = {
        u"In.exe | " + exactUser + u"\\\uD55C\\In.exe",
        u"\u4E2D.exe | " + exactUser + u"\\\u4E2D.exe",
        u"\uC624.exe | " + exactUser + u"\\\uC624.exe",
        kakao + u" | " + exactUser + u"\\" + kakao,
        u"\uCE74.exe | " + exactUser + u"\\\uCE74.exe",
        u"\uCE74.lnk | " + exactUser + u"\\\uCE74.lnk",
    };
    for (auto* list : {&rows, &expectedRows}) std::sort(list->begin(), list->end());
    for (auto* list : {&exact, &expectedExact}) std::sort(list->begin(), list->end());
    EXPECT_EQ(rows, expectedRows);
    EXPECT_EQ(exact, expectedExact);
}

// A folder value written with a closing backslash names the same folder:
// its files are listed, and the folders above it are still barred.
TEST_F(StartupScanTest, AFolderNamedWithAClosingBackslashIsWalked) {
    RegKey::Create(fake.registry, kHkeyCurrentUser,
                   "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders")
        .SetString("Startup", std::string(kUserStartup) + "\\");
    fake.files.AddFile(std::string(kUserStartup) + "\\Tool.exe");
    fake.files.AddAlias(std::string(kUserStartup) + "\\Up", "C:\\users\\me");
    fake.files.AddFile("C:\\users\\me\\Other.exe");
    std::vector<std::string> names;
    for (const StartupItem& item : StartupScan(fake.Get())) names.push_back(item.name.Shown());
    EXPECT_EQ(names, std::vector<std::string>{"Tool.exe"});
}

TEST_F(StartupScanTest, UnreadableStartupFoldersListNothing) {
    fake.registry = FakeRegistry();
    testing::NameStartupFolders(fake.registry, "", "C:\\Missing");
    fake.files.AddFile("C:\\stray.exe");
    fake.files.SetWorkingFolder("C:\\");
    EXPECT_EQ(Scan(), std::vector<std::string>{});
}

// On 64-bit Windows every registry location holds a value in each view;
// the list shows each where the system reads it: Run-type keys, the command
// processor and AppInit_DLLs from both copies (the 32-bit one under its
// Wow6432Node name), Winlogon and the Windows key's Run and Load from the
// system's copy only, and the shared keys once.
TEST_F(StartupScanTest, EachLocationIsListedFromTheViewsTheSystemReads) {
    fake.registry.UseViews(FakeRegistry::Views::TwoFor32BitProgram);
    fake.system.is64BitSystem = true;
    SetUp();
    struct Location {
        RegHandle root;
        const char* key;
        const char* value;  // null: a value "V" of a Run-type key
    };
    const char* ntWindows = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
    const Location locations[] = {
        {kHkeyCurrentUser, kRun, nullptr},
        {kHkeyCurrentUser, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Load"},
        {kHkeyCurrentUser, kWinlogon, "Shell"},
        {kHkeyLocalMachine, kRun, nullptr},
        {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", nullptr},
        {kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run", nullptr},
        {kHkeyLocalMachine, ntWindows, "Run"},
        {kHkeyLocalMachine, ntWindows, "AppInit_DLLs"},
        {kHkeyLocalMachine, kWinlogon, "Shell"},
        {kHkeyLocalMachine, kWinlogon, "Userinit"},
        {kHkeyLocalMachine, "Software\\Microsoft\\Command Processor", "AutoRun"},
        {kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", "BootExecute"},
    };
    // The 64-bit copy is written last, so a shared key holds its text.
    for (std::uint32_t view : {kKeyWow64_32Key, kKeyWow64_64Key}) {
        const std::string file = view == kKeyWow64_32Key ? "C:\\v32.exe" : "C:\\v64.exe";
        for (const Location& l : locations)
            RegKey::Create(fake.registry, l.root, l.key, view).SetString(l.value ? l.value : "V", file);
    }
    std::vector<std::string> rows;
    for (const StartupItem& item : StartupScan(fake.Get()))
        rows.push_back(item.root + "\\" + item.subkey + " <- " +
                       (item.path.find("v32") != std::string::npos ? "32" : "64"));
    const std::string wow = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\";
    EXPECT_EQ(rows, (std::vector<std::string>{
        "HKEY_CURRENT_USER\\" + std::string(kRun) + " <- 64",
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows [Load] <- 64",
        "HKEY_CURRENT_USER\\" + std::string(kWinlogon) + " [Shell] <- 64",
        "HKEY_LOCAL_MACHINE\\" + std::string(kRun) + " <- 64",
        "HKEY_LOCAL_MACHINE\\" + wow + "Run <- 32",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce <- 64",
        "HKEY_LOCAL_MACHINE\\" + wow + "RunOnce <- 32",
        "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows [Run] <- 64",
        "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run <- 64",
        "HKEY_LOCAL_MACHINE\\" + std::string(kWinlogon) + " [Shell] <- 64",
        "HKEY_LOCAL_MACHINE\\" + std::string(kWinlogon) + " [Userinit] <- 64",
        "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Command Processor [AutoRun] <- 64",
        "HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Command Processor [AutoRun] <- 32",
        "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager [BootExecute] <- 64",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows [AppInit_DLLs] <- 64",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\Windows [AppInit_DLLs] <- 32",
                    }));
    EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace tv
