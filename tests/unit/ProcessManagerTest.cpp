// The processes list, the module list of a clicked process, its hint, and
// ending ticked processes, against the fake process table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manage/ModuleList.h"
#include "manage/ProcessActions.h"
#include "manage/ProcessList.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

class ProcessManagerTest : public ::testing::Test {
protected:
    Platform P() { return fakes_.Get(); }
    static std::vector<std::string> Column(const std::vector<ListRow>& rows, size_t column) {
        std::vector<std::string> cells;
        for (const auto& row : rows) cells.push_back(row[column]);
        return cells;
    }
    FakeProcessTable::Process& AddFull(std::uint32_t id, const std::string& name) {
        auto& p = fakes_.processes.Add(id, name, 1);
        p.kernelPath = "C:\\apps\\" + name;
        p.memory = ProcessMemory{10485760, 1234567 * 1024ull};
        p.created = LocalTime{2009, 12, 5, 8, 3, 1};
        p.domain = "VM";
        p.account = "root";
        p.entry.threads = 7;
        return p;
    }

    testing::FakePlatform fakes_;
};

TEST_F(ProcessManagerTest, PriorityWords) {
    struct {
        int base;
        const char* word;
    } cases[] = {{24, "   高"}, {13, "   高"}, {11, "   高"}, {10, "高>标"}, {9, "高>标"},
                 {8, "标 准"},  {7, "低<标"},  {6, "低<标"},  {5, ""},      {4, "   低"},
                 {2, "   低"},  {0, "   低"}};
    for (const auto& c : cases) EXPECT_EQ(PriorityWord(c.base), c.word) << c.base;
}

TEST_F(ProcessManagerTest, NumberAndTimeFormats) {
    EXPECT_EQ(FormatKilobytes(10485760), "10,240 KB");
    EXPECT_EQ(FormatKilobytes(1023), "0 KB");
    EXPECT_EQ(FormatKilobytes(1234567ull * 1024), "1,234,567 KB");
    EXPECT_EQ(FormatStartTime({2009, 12, 5, 8, 3, 1}), "2009-12-5 08:03:01");
    EXPECT_EQ(FormatStartTime({2010, 1, 25, 23, 59, 9}), "2010-01-25 23:59:09");
    EXPECT_EQ(FormatFileTime({2009, 12, 5, 8, 3, 1}), "2009-12-05 08:03:01");
}

TEST_F(ProcessManagerTest, EveryCellOfAProcessRow) {
    auto& p = AddFull(1234, "app.exe");
    p.entry.parentId = 88;
    p.entry.basePriority = 13;
    p.window = true;
    std::vector<ListRow> rows = ListProcessRows(P());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells,
              (std::vector<std::string>{"app.exe", "", "1234", "88", "[UN]", "有",
                                        "C:\\apps\\app.exe", "   高", "10,240 KB",
                                        "1,234,567 KB", "VM-root", "2009-12-5 08:03:01", "7",
                                        "0"}));
    EXPECT_EQ(fakes_.processes.OpenHandles(), 0);
}

TEST_F(ProcessManagerTest, PseudoProcessesShowOnlyNameAndPath) {
    for (std::uint32_t id : {0u, 4u, 8u}) {
        auto& p = AddFull(id, "sys" + std::to_string(id));
        p.window = true;
    }
    std::vector<ListRow> rows = ListProcessRows(P());
    ASSERT_EQ(rows.size(), 3u);
    // Process 0 cannot be opened, so it has no path either.
    EXPECT_EQ(Column(rows, kProcessImageName), (std::vector<std::string>{"sys8", "sys4", "sys0"}));
    EXPECT_EQ(Column(rows, kProcessPath),
              (std::vector<std::string>{"C:\\apps\\sys8", "C:\\apps\\sys4", ""}));
    for (const auto& row : rows) {
        for (size_t c = 0; c < kProcessColumnCount; ++c) {
            if (c != kProcessImageName && c != kProcessPath) {
                EXPECT_EQ(row[c], "") << row[0] << " column " << c;
            }
        }
    }
}

TEST_F(ProcessManagerTest, ProcessThatCannotBeOpened) {
    auto& p = fakes_.processes.Add(500, "guarded.exe", 4);
    p.canOpen = false;
    p.canQuery = false;
    p.kernelPath = "C:\\g.exe";
    p.memory = ProcessMemory{4096, 4096};
    p.created = LocalTime{2009, 1, 1, 0, 0, 0};
    p.account = "x";
    p.entry.basePriority = 5;
    std::vector<ListRow> rows = ListProcessRows(P());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells,
              (std::vector<std::string>{"guarded.exe", "", "500", "4", "[UN]", "", "", "", "0 KB",
                                        "0 KB", "", "", "1", "0"}));
}

TEST_F(ProcessManagerTest, RowsReverseSnapshotOrderThenUnprotectedFirst) {
    for (std::uint32_t id : {10u, 11u, 12u, 13u, 14u}) AddFull(id, "p" + std::to_string(id));
    fakes_.systemFiles.Protect("C:\\apps\\p10");
    fakes_.systemFiles.Protect("c:\\APPS\\p13");
    std::vector<ListRow> rows = ListProcessRows(P());
    EXPECT_EQ(Column(rows, kProcessId), (std::vector<std::string>{"14", "12", "11", "13", "10"}));
    EXPECT_EQ(Column(rows, kProcessSafe),
              (std::vector<std::string>{"[UN]", "[UN]", "[UN]", "是", "是"}));
    EXPECT_EQ(rows[4].itemData, 1);
    EXPECT_EQ(rows[0].itemData, 0);
}

// A process can rewrite what its own memory says its image is: the
// kernel's record decides the path shown, whether it counts as a protected
// system file, and which process a ticked row ends.
TEST_F(ProcessManagerTest, ImagePathIsTheKernelsRecordFirst) {
    fakes_.environment.windowsDirectory = "C:\\Windows";
    fakes_.systemFiles.Protect("C:\\Windows\\system32\\svchost.exe");
    fakes_.systemFiles.Protect("C:\\Windows\\system32\\csrss.exe");
    struct {
        const char *kernel, *memory, *path, *safe;
    } cases[] = {
        // Forged: the memory claims a system file.
        {"C:\\Users\\x\\evil.exe", "C:\\Windows\\system32\\svchost.exe",
         "C:\\Users\\x\\evil.exe", "[UN]"},
        // The other bitness: the memory cannot be read.
        {"C:\\Windows\\system32\\svchost.exe", "", "C:\\Windows\\system32\\svchost.exe",
         "是"},
        // Before Vista: only the memory's record, in kernel form at times.
        {"", "\\??\\C:\\Windows\\system32\\csrss.exe", "C:\\Windows\\system32\\csrss.exe",
         "是"},
        {"", "\\SystemRoot\\System32\\smss.exe", "C:\\Windows\\System32\\smss.exe", "[UN]"},
        {"", "", "", "[UN]"},
    };
    for (const auto& c : cases) {
        fakes_.processes = FakeProcessTable();
        auto& p = AddFull(20, "svchost.exe");
        p.kernelPath = c.kernel;
        p.memoryPath = c.memory;
        std::vector<ListRow> rows = ListProcessRows(P());
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][kProcessPath], c.path) << c.kernel << c.memory;
        EXPECT_EQ(rows[0][kProcessSafe], c.safe) << c.kernel << c.memory;
        EndProcesses(P(), rows);
        using Ended = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
        EXPECT_EQ(fakes_.processes.terminated, (Ended{{20, 1}})) << c.kernel << c.memory;
    }
}

TEST_F(ProcessManagerTest, NoSnapshotNoRows) {
    AddFull(10, "a");
    fakes_.processes.snapshotFails = true;
    EXPECT_TRUE(ListProcessRows(P()).empty());
    fakes_.processes.snapshotFails = false;
    EXPECT_EQ(ListProcessRows(P()).size(), 1u);
}

TEST_F(ProcessManagerTest, ModuleRowsWithFileData) {
    auto& p = AddFull(30, "host.exe");
    p.modules = {{"host.exe", "C:\\apps\\host.exe"},
                 {"kernel32.dll", "C:\\Windows\\system32\\kernel32.dll"},
                 {"WMP.DLL", "c:\\windows\\SYSTEM32\\WMP.DLL"},
                 {"AcLayers.dll", "C:\\WINDOWS\\apppatch\\aclayers.dll"},
                 {"gone.dll", "C:\\gone.dll"}};
    fakes_.systemFiles.Protect("C:\\Windows\\system32\\kernel32.dll");
    FileStamps stamps{{2009, 7, 14, 9, 5, 3}, {2010, 11, 20, 17, 0, 59}, 1234567};
    fakes_.systemFiles.SetStamps("C:\\apps\\host.exe", stamps);

    std::vector<ListRow> rows = ListModuleRows(P(), 30);
    ASSERT_EQ(rows.size(), 5u);
    // Reverse snapshot order, then unprotected first; the table's entries
    // match whatever the letter case.
    EXPECT_EQ(Column(rows, kModuleName),
              (std::vector<std::string>{"gone.dll", "host.exe", "AcLayers.dll", "WMP.DLL",
                                        "kernel32.dll"}));
    EXPECT_EQ(Column(rows, kModuleSafe),
              (std::vector<std::string>{"[UN]", "[UN]", "是", "是", "是"}));
    EXPECT_EQ(rows[1].cells,
              (std::vector<std::string>{"C:\\apps\\host.exe", "", "", "[UN]",
                                        "2009-07-14 09:05:03", "2010-11-20 17:00:59", "host.exe",
                                        "", "1,234,567", "0"}));
    EXPECT_EQ(rows[0][kModuleCreated], "");
    EXPECT_EQ(rows[0][kModuleSize], "");
}

TEST_F(ProcessManagerTest, KnownSafeModulesFollowTheDirectories) {
    fakes_.environment.systemDirectory = "D:\\OS\\sys";
    fakes_.environment.windowsDirectory = "D:\\OS";
    EXPECT_TRUE(IsKnownSafeModule(P(), "d:\\os\\SYS\\msacm32.drv"));
    EXPECT_TRUE(IsKnownSafeModule(P(), "D:\\OS\\AppPatch\\AcLayers.DLL"));
    EXPECT_TRUE(IsKnownSafeModule(P(), "D:\\OS\\sys\\xpsp2res.dll"));
    EXPECT_FALSE(IsKnownSafeModule(P(), "C:\\Windows\\system32\\msacm32.drv"));
    EXPECT_FALSE(IsKnownSafeModule(P(), "D:\\OS\\sys\\msacm32.drv.bak"));
    EXPECT_FALSE(IsKnownSafeModule(P(), "D:\\OS\\sys\\AppPatch\\AcLayers.DLL"));
}

TEST_F(ProcessManagerTest, ModulesThatCannotBeListed) {
    auto& p = AddFull(40, "x.exe");
    p.modules = {{"x.exe", "C:\\x.exe"}};
    p.modulesListable = false;
    EXPECT_TRUE(ListModuleRows(P(), 40).empty());
    EXPECT_TRUE(ListModuleRows(P(), 999).empty());
}

TEST_F(ProcessManagerTest, HintForAClickedProcess) {
    fakes_.systemFiles.Protect("C:\\Windows\\system32\\lsass.exe");
    EXPECT_EQ(ProcessHint(P(), "lsass.exe", "", "C:\\Windows\\system32\\lsass.exe"),
              "Trimvex 提示 【该文件是安全的,但注意Dll模块】");
    EXPECT_EQ(ProcessHint(P(), "mine.exe", "", "C:\\mine.exe"),
              "没有相关信息，【使用右键菜单在线查找进程信息】");
    EXPECT_EQ(ProcessHint(P(), "", "", ""), "没有相关信息，【使用右键菜单在线查找进程信息】");
}

TEST_F(ProcessManagerTest, EndsTwoTickedProcessesThenWaits) {
    AddFull(50, "a.exe");
    AddFull(51, "b.exe");
    AddFull(52, "c.exe");
    AddFull(4, "System");
    std::vector<ListRow> rows = ListProcessRows(P());
    ASSERT_EQ(Column(rows, kProcessId), (std::vector<std::string>{"", "52", "51", "50"}));
    EndProcesses(P(), {rows[0], rows[3], rows[1]});
    using Ended = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    EXPECT_EQ(fakes_.processes.terminated, (Ended{{50, 1}, {52, 1}}));
    EXPECT_EQ(fakes_.environment.waits, std::vector<unsigned>{400});
    EXPECT_EQ(fakes_.processes.OpenHandles(), 0);
    rows = ListProcessRows(P());
    EXPECT_EQ(Column(rows, kProcessId), (std::vector<std::string>{"", "51"}));
}

TEST_F(ProcessManagerTest, RowsWithoutIdEndNothing) {
    AddFull(4, "System");
    ListRow noId(kProcessColumnCount);
    noId[kProcessPath] = "C:\\apps\\System";
    EndProcesses(P(), {noId, ListProcessRows(P())[0]});
    EXPECT_TRUE(fakes_.processes.terminated.empty());
    EXPECT_EQ(fakes_.processes.Processes().size(), 1u);
}

// Between the list's refresh and the click, the ticked process may have
// ended and its id gone to another process: only the process the row was
// read from is ended.
TEST_F(ProcessManagerTest, OnlyTheProcessTheRowWasReadFromIsEnded) {
    const LocalTime later{2009, 12, 5, 8, 3, 2};
    struct Case {
        const char* label;
        void (*change)(FakeProcessTable& table, const LocalTime& later);
        bool ended;
    } cases[] = {
        {"unchanged", [](FakeProcessTable&, const LocalTime&) {}, true},
        {"id taken by another program",
         [](FakeProcessTable& t, const LocalTime& l) {
             t.Find(70)->kernelPath = "C:\\Windows\\system32\\lsass.exe";
             t.Find(70)->created = l;
         },
         false},
        {"same program started again under the id",
         [](FakeProcessTable& t, const LocalTime& l) { t.Find(70)->created = l; }, false},
        {"another program started in the same second",
         [](FakeProcessTable& t, const LocalTime&) { t.Find(70)->kernelPath = "C:\\apps\\b.exe"; },
         false},
        {"start time no longer readable",
         [](FakeProcessTable& t, const LocalTime&) { t.Find(70)->created.reset(); }, false},
        {"its memory now claims a system file",
         [](FakeProcessTable& t, const LocalTime&) {
             t.Find(70)->memoryPath = "C:\\Windows\\system32\\lsass.exe";
         },
         true},
        {"path no longer readable",
         [](FakeProcessTable& t, const LocalTime&) { t.Find(70)->kernelPath.clear(); }, false},
        {"gone",
         [](FakeProcessTable& t, const LocalTime&) { t.Find(70)->canOpen = false; }, false},
    };
    for (const Case& c : cases) {
        fakes_.processes = FakeProcessTable();
        AddFull(70, "a.exe");
        AddFull(71, "keep.exe");
        std::vector<ListRow> rows = ListProcessRows(P());
        ASSERT_EQ(rows[1][kProcessId], "70");
        c.change(fakes_.processes, later);
        EndProcesses(P(), {rows[1]});
        using Ended = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
        EXPECT_EQ(fakes_.processes.terminated, c.ended ? (Ended{{70, 1}}) : Ended{}) << c.label;
        EXPECT_NE(fakes_.processes.Find(71), nullptr) << c.label;
        EXPECT_EQ(fakes_.processes.OpenHandles(), 0) << c.label;
    }
}

TEST_F(ProcessManagerTest, AutoRestartShellIsOneAfterStart) {
    const std::string winlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
    for (int before : {-1, 0, 1}) {
        testing::FakePlatform fakes;
        if (before >= 0) {
            RegKey key = RegKey::Create(fakes.registry, kHkeyLocalMachine, winlogon);
            key.SetDword("AutoRestartShell", static_cast<std::uint32_t>(before));
        }
        WriteAutoRestartShell(fakes.Get());
        RegKey key = RegKey::Open(fakes.registry, kHkeyLocalMachine, winlogon, kKeyRead);
        ASSERT_TRUE(key);
        std::uint32_t type = 0, value = 0, size = sizeof(value);
        ASSERT_EQ(key.Query("AutoRestartShell", &type, &value, &size), kErrorSuccess);
        EXPECT_EQ(type, kRegDword);
        EXPECT_EQ(size, 4u);
        EXPECT_EQ(value, 1u);
    }
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

// Version data through the shared reader: "\StringFileInfo\080404b0\...".
void GiveVersion(FakeVersionResources& versions, const std::string& path,
                 const std::string& company, const std::string& version,
                 const std::string& description) {
    versions.AddFile(path, {0x080404B0});
    const std::string base = "\\StringFileInfo\\080404b0\\";
    versions.AddText(path, base + "CompanyName", company);
    versions.AddText(path, base + "FileVersion", version);
    versions.AddText(path, base + "FileDescription", description);
}

TEST(ProcessManagerVersions, DescriptionsCompaniesAndVersionsOfFiles) {
    testing::FakePlatform fakes;
    auto& p = fakes.processes.Add(60, "QQ.EXE", 1);
    p.kernelPath = "C:\\QQ\\QQ.EXE";
    p.modules = {{"QQ.EXE", "C:\\QQ\\QQ.EXE"}, {"x.dll", "C:\\QQ\\x.dll"}};
    GiveVersion(fakes.versions, "C:\\QQ\\QQ.EXE", "腾讯", "1.0.0.1", "qq");
    GiveVersion(fakes.versions, "C:\\QQ\\x.dll", "X 公司", "2.3", "X 模块");

    std::vector<ListRow> rows = ListProcessRows(fakes.Get());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][kProcessDescription], "qq");
    // The known program table matches name and description without regard
    // to letter case.
    EXPECT_EQ(ProcessHint(fakes.Get(), rows[0][kProcessImageName], rows[0][kProcessDescription],
                          rows[0][kProcessPath]),
              "可能是腾讯 QQ 即时通讯工具");
    EXPECT_EQ(ProcessHint(fakes.Get(), "qq.exe", "QQ Player", "C:\\QQ\\QQ.EXE"),
              kUnknownProcessHint);

    std::vector<ListRow> modules = ListModuleRows(fakes.Get(), 60);
    ASSERT_EQ(modules.size(), 2u);
    EXPECT_EQ(modules[0][kModuleName], "x.dll");
    EXPECT_EQ(modules[0][kModuleCompany], "X 公司");
    EXPECT_EQ(modules[0][kModuleVersion], "2.3");
    EXPECT_EQ(modules[0][kModuleDescription], "X 模块");
    EXPECT_EQ(modules[1][kModuleCompany], "腾讯");
}

TEST(ProcessManagerVersions, PrivilegeFailureIsToldOnceAndWorkGoesOn) {
    struct Case {
        bool failOpen, failAdjust;
        size_t messages;
    } cases[] = {{false, false, 0}, {true, false, 1}, {false, true, 1}};
    for (const auto& c : cases) {
        testing::FakePlatform fakes;
        fakes.tokens.failOpen = c.failOpen;
        fakes.tokens.failAdjust = c.failAdjust;
        EnableDebugPrivilegeOrTell(fakes.Get(), kProcessPrivilegeFailure);
        ASSERT_EQ(fakes.prompter.Prompts().size(), c.messages);
        // The privilege is switched on, never off.
        for (const FakeTokens::Adjustment& a : fakes.tokens.adjustments)
            EXPECT_EQ(a.attributes, kSePrivilegeEnabled);
        if (c.messages) {
            const Prompt& told = fakes.prompter.Prompts()[0];
            EXPECT_EQ(told.text, "提升权限失败，请尝试使用系统管理员帐户启动本程序");
            EXPECT_EQ(told.caption, "提示");
            EXPECT_EQ(told.type, kMbOk);
        }
        EXPECT_EQ(fakes.tokens.OpenTokens(), 0u);
    }
    testing::FakePlatform fakes;
    fakes.tokens.failAdjust = true;
    EnableDebugPrivilegeOrTell(fakes.Get(), kServicePrivilegeFailure);
    ASSERT_EQ(fakes.prompter.Prompts().size(), 1u);
    EXPECT_EQ(fakes.prompter.Prompts()[0].text, "提升权限失败，请尝试使用系统管理员帐号运行");
}

// A stop reaches the loop over the processes: asked before each one, the
// listing opens no process past the check that said stop.
TEST_F(ProcessManagerTest, AStopEndsTheListingBeforeTheNextProcess) {
    struct CountingTable : FakeProcessTable {
        ProcessHandle Open(std::uint32_t id, std::uint32_t access) override {
            ++opened;
            return FakeProcessTable::Open(id, access);
        }
        int opened = 0;
    };
    const struct {
        int checksBeforeStop;
        size_t rows;
    } cases[] = {{0, 0}, {1, 1}, {3, 3}, {100, 4}};
    for (const auto& c : cases) {
        CountingTable table;
        for (std::uint32_t id : {100u, 200u, 300u, 400u}) table.Add(id, "p.exe", 1).kernelPath = "C:\\p.exe";
        Platform platform = P();
        platform.processes = table;
        int checks = 0;
        const std::vector<ListRow> rows =
            ListProcessRows(platform, [&] { return checks++ >= c.checksBeforeStop; });
        EXPECT_EQ(rows.size(), c.rows) << c.checksBeforeStop;
        // Each process listed is opened once for its row.
        EXPECT_EQ(table.opened, static_cast<int>(c.rows)) << c.checksBeforeStop;
        EXPECT_EQ(table.OpenHandles(), 0);
    }
}

}  // namespace
}  // namespace tv
