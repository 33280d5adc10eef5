// The services list and the deletion of a service, against the fake service
// manager and file protection.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/WideText.h"
#include "manage/ServiceDeletion.h"
#include "manage/ServiceScan.h"
#include "restore/RestoreFiles.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

// The registry key every installed service has, with a subkey.
void AddServiceKey(Registry& registry, const std::string& name) {
    RegKey key = RegKey::Create(registry, kHkeyLocalMachine, kServicesKey + name);
    key.Set("ImagePath", kRegExpandSz, "%SystemRoot%\\v.exe", 19);
    key.SetDword("Start", 2);
    key.SetMultiString("DependOnService", {"RpcSs", "Tcpip"});
    RegKey::Create(registry, kHkeyLocalMachine, kServicesKey + name + "\\Parameters")
        .SetBinary("Blob", {0x01, 0xFF, 0x00});
}

// A restore file's text in the ANSI code page, its mark dropped.
std::string Text(const TextCodec& codec, const std::string& bytes) {
    std::u16string wide = utf16::FromBytes(std::string_view(bytes).substr(2));
    return codec.WideToAnsi(wide);
}

class ServiceManagerTest : public ::testing::Test {
protected:
    Platform P() { return fakes_.Get(); }
    std::vector<std::string> Column(const std::vector<ListRow>& rows, size_t column) {
        std::vector<std::string> cells;
        for (const auto& row : rows) cells.push_back(row[column]);
        return cells;
    }
    const ListRow* Row(const std::vector<ListRow>& rows, const std::string& name) {
        for (const auto& row : rows)
            if (row[kServiceName] == name) return &row;
        return nullptr;
    }
    std::vector<std::string> PromptTexts() {
        std::vector<std::string> texts;
        for (const auto& p : fakes_.prompter.Prompts()) texts.push_back(p.text);
        return texts;
    }

    testing::FakePlatform fakes_;
    FakeServiceDatabase& db_ = fakes_.serviceDatabase;
};

TEST_F(ServiceManagerTest, WordTables) {
    struct {
        std::uint32_t value;
        const char *state, *start, *error;
    } cases[] = {
        {0, "未知", "未知", "<忽略错误>"},   {1, "已停止", "未知", "标准类型"},
        {2, "启动中", "自动", "{错误服务}"}, {3, "停止中", "手动", "[重大错误]"},
        {4, "已启动", "禁止", ""},           {5, "未知", "未知", ""},
        {6, "未知", "未知", ""},             {7, "已暂停", "未知", ""},
        {0xFFFFFFFF, "未知", "未知", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ServiceStateWord(c.value), c.state) << c.value;
        EXPECT_EQ(StartTypeWord(c.value), c.start) << c.value;
        EXPECT_EQ(ErrorControlWord(c.value), c.error) << c.value;
    }
}

TEST_F(ServiceManagerTest, EveryColumnOfARow) {
    auto& s = db_.Add("RpcSs", "Remote Procedure Call", "C:\\Windows\\system32\\svchost -k rpcss",
                      kServiceRunning);
    s.config.startType = 2;
    s.config.errorControl = 3;
    s.description = std::string(6000, 'd');  // longer than any fixed block
    fakes_.systemFiles.Protect("C:\\Windows\\system32\\svchost.exe");

    std::vector<ListRow> rows = ServiceScan(P());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells,
              (std::vector<std::string>{"1", "RpcSs", "Remote Procedure Call", "已启动", "自动",
                                        "是", "C:\\Windows\\system32\\svchost -k rpcss",
                                        std::string(6000, 'd'), "[重大错误]", "", "", "",
                                        "C:\\Windows\\system32\\svchost.exe", "1"}));
    EXPECT_EQ(rows[0].itemData, 1);
    EXPECT_EQ(db_.OpenHandles(), 0);
}

TEST_F(ServiceManagerTest, UnprotectedRowsFirstNumbersKept) {
    const char* names[] = {"a", "b", "c", "d", "e"};
    for (const char* name : names) db_.Add(name, name, std::string("C:\\x\\") + name + ".exe");
    fakes_.systemFiles.Protect("C:\\x\\a.exe");
    fakes_.systemFiles.Protect("C:\\x\\c.exe");
    db_.Find("e")->status.currentState = 5;
    db_.Find("e")->config.errorControl = 4;

    std::vector<ListRow> rows = ServiceScan(P());
    EXPECT_EQ(Column(rows, kServiceName), (std::vector<std::string>{"b", "d", "e", "a", "c"}));
    EXPECT_EQ(Column(rows, kServiceNumber), (std::vector<std::string>{"2", "4", "5", "1", "3"}));
    EXPECT_EQ(Column(rows, kServiceSafe),
              (std::vector<std::string>{"[UN]", "[UN]", "[UN]", "是", "是"}));
    EXPECT_EQ(Column(rows, kServiceSafeFlag), (std::vector<std::string>{"0", "0", "0", "1", "1"}));
    EXPECT_EQ(rows[2][kServiceState], "未知");
    EXPECT_EQ(rows[2][kServiceErrorControl], "");
}

TEST_F(ServiceManagerTest, ImagePathsFromCommandLines) {
    struct {
        const char *configured, *file;
    } cases[] = {
        {"C:\\Windows\\system32\\svchost -k rpcss", "C:\\Windows\\system32\\svchost.exe"},
        {"C:\\Windows\\system32\\svchost -k DcomLaunch", "C:\\Windows\\system32\\svchost.exe"},
        {"%SystemRoot%\\system32\\svchost.exe -k netsvcs", "%SystemRoot%\\system32\\svchost.exe"},
        {"\"C:\\Program Files\\A.B\\c.exe\" -run", "C:\\Program Files\\A.exe"},
    };
    int i = 0;
    for (const auto& c : cases) db_.Add("s" + std::to_string(i++), "", c.configured);
    std::vector<ListRow> rows = ServiceScan(P());
    ASSERT_EQ(rows.size(), 4u);
    for (size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r][kServiceCommandLine], cases[r].configured);
        EXPECT_EQ(rows[r][kServiceFilePath], cases[r].file);
    }
}

TEST_F(ServiceManagerTest, ServiceThatCannotBeOpenedKeepsItsRow) {
    db_.Add("locked", "Locked", "C:\\l.exe", kServiceRunning).canOpen = false;
    db_.Add("open", "Open", "C:\\o.exe");
    std::vector<ListRow> rows = ServiceScan(P());
    ASSERT_EQ(rows.size(), 2u);
    const ListRow* locked = Row(rows, "locked");
    ASSERT_NE(locked, nullptr);
    EXPECT_EQ((*locked)[kServiceState], "已启动");
    EXPECT_EQ((*locked)[kServiceCommandLine], "");
    EXPECT_EQ((*Row(rows, "open"))[kServiceCommandLine], "C:\\o.exe");
}

TEST_F(ServiceManagerTest, NoManagerOrNoListMeansAnEmptyList) {
    db_.Add("a", "a", "C:\\a.exe");
    db_.refusedManagerAccess.insert(kGenericRead | kScManagerEnumerateService);
    EXPECT_TRUE(ServiceScan(P()).empty());
    db_.refusedManagerAccess.clear();
    db_.enumerateFails = true;
    EXPECT_TRUE(ServiceScan(P()).empty());
    EXPECT_EQ(db_.OpenHandles(), 0);
    EXPECT_TRUE(fakes_.prompter.Prompts().empty());
}

TEST_F(ServiceManagerTest, ConfirmationAsked) {
    db_.Add("victim", "Victim", "C:\\v.exe");
    std::vector<ListRow> rows = ServiceScan(P());
    db_.openedServices.clear();
    EXPECT_FALSE(DeleteSelectedService(P(), &rows[0]));  // the fake answers No
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
    const Prompt& ask = fakes_.prompter.Prompts()[0];
    EXPECT_EQ(ask.text,
              "不推荐您删除服务,删除的服务将无法恢复,如果您对某服务无法判断有害可以尝试调整启动方式为[ 禁止禁用 ],您真的要删除这个服务吗?,");
    EXPECT_EQ(ask.caption, "高级服务管理器");
    EXPECT_EQ(ask.type, kMbYesNo | kMbIconExclamation | kMbDefButton2);
    EXPECT_NE(db_.Find("victim"), nullptr);
    EXPECT_TRUE(db_.openedServices.empty());
}

TEST_F(ServiceManagerTest, DeletionOutcomes) {
    struct Case {
        const char* name;
        bool selected;
        bool protectedFile;
        bool managerFails, openFails, deleteFails;
        bool rescan;
        std::vector<std::string> messages;  // after the confirmation
        bool deleted;
        bool keyMissing, diskFull;  // no restore file can be written
    } cases[] = {
        {"deleted", true, false, false, false, false, true, {}, true, false, false},
        {"protected refused", true, true, false, false, false, false,
         {kProtectedServiceWarning}, false, false, false},
        {"manager", true, false, true, false, false, true, {"打开服务管理器错误"}, false, false, false},
        {"open alone", true, false, false, true, false, true, {"打开服务错误"}, false, false, false},
        {"delete", true, false, false, false, true, true, {"删除服务错误"}, false, false, false},
        {"no selection", false, false, false, false, false, true, {"打开服务错误"}, false, false, false},
        {"key unreadable", true, false, false, false, false, false, {kRestoreFailedMessage}, false,
         true, false},
        {"disk full", true, false, false, false, false, false, {kRestoreFailedMessage}, false, false,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::FakePlatform fakes;
        auto& service = fakes.serviceDatabase.Add("victim", "Victim", "C:\\v.exe");
        service.canOpen = !c.openFails;
        service.canDelete = !c.deleteFails;
        if (c.protectedFile) fakes.systemFiles.Protect("C:\\v.exe");
        if (!c.keyMissing) AddServiceKey(fakes.registry, "victim");
        fakes.files.SetFull(c.diskFull);
        std::vector<ListRow> rows = ServiceScan(fakes.Get());
        ASSERT_EQ(rows.size(), 1u);
        if (c.managerFails) fakes.serviceDatabase.refusedManagerAccess.insert(kScManagerAllAccess);
        fakes.serviceDatabase.openedServices.clear();
        fakes.prompter.QueueAnswer(kIdYes);

        EXPECT_EQ(DeleteSelectedService(fakes.Get(), c.selected ? &rows[0] : nullptr), c.rescan);
        const auto& prompts = fakes.prompter.Prompts();
        ASSERT_EQ(prompts.size(), 1 + c.messages.size());
        for (size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(prompts[i + 1].text, c.messages[i]);
            if (c.protectedFile || c.keyMissing || c.diskFull) {
                EXPECT_EQ(prompts[i + 1].caption, c.protectedFile ? "警告" : "");
                EXPECT_EQ(prompts[i + 1].type, kMbOk | kMbIconExclamation);
            } else {
                EXPECT_EQ(prompts[i + 1].caption, "");  // the application's title
                EXPECT_EQ(prompts[i + 1].type, kMbOk);
            }
        }
        EXPECT_EQ(fakes.serviceDatabase.Find("victim") == nullptr, c.deleted);
        if (!c.selected || c.protectedFile) {
            EXPECT_TRUE(fakes.serviceDatabase.openedServices.empty());
        }
        EXPECT_EQ(fakes.serviceDatabase.OpenHandles(), 0);
    }
}

TEST_F(ServiceManagerTest, DeletionKeepsTheWholeServiceKeyFirst) {
    db_.Add("victim", "Victim", "C:\\v.exe");
    AddServiceKey(fakes_.registry, "victim");
    fakes_.clock.SetTime({9, 5, 2});
    std::vector<ListRow> rows = ServiceScan(P());
    fakes_.prompter.QueueAnswer(kIdYes);
    ASSERT_TRUE(DeleteSelectedService(P(), &rows[0]));
    EXPECT_EQ(db_.Find("victim"), nullptr);
    const std::string file = "C:\\ProgramData\\Trimvex 还原文件\\"
                             "2009-10-25 09.05.02 删除服务 victim.reg";
    EXPECT_EQ(Text(fakes_.codec, fakes_.files.Contents(file)),
              "Windows Registry Editor Version 5.00\r\n"
              "; Trimvex 删除服务之前的注册表内容。双击本文件并确认导入，即可恢复原状。\r\n"
              "; 导入后，该服务在 Windows 下次启动时恢复。\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\victim]\r\n"
              "\"ImagePath\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,\\\r\n"
              "  74,00,25,00,5c,00,76,00,2e,00,65,00,78,00,65,00,00,00\r\n"
              "\"Start\"=dword:00000002\r\n"
              "\"DependOnService\"=hex(7):52,00,70,00,63,00,53,00,73,00,00,00,54,00,63,00,70,00,\\\r\n"
              "  69,00,70,00,00,00,00,00\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\victim\\Parameters]\r\n"
              "\"Blob\"=hex:01,ff,00\r\n"
              "\r\n");
}

// A service whose listed name has a NUL in it would be opened, kept and
// deleted by the part before it ("victim", another service): it is refused
// before anything is asked, and nothing changes.
TEST_F(ServiceManagerTest, ANameWithANulIsRefusedBeforeAnythingIsAsked) {
    db_.Add("victim", "Victim", "C:\\v.exe");
    AddServiceKey(fakes_.registry, "victim");
    std::vector<ListRow> rows = ServiceScan(P());
    ASSERT_EQ(rows.size(), 1u);
    struct Case {
        const char* label;
        std::string name;
        std::u16string exactName;
    } cases[] = {
        {"exact name", "victim", std::u16string(u"victim\0x", 8)},
        {"8-bit name", std::string("victim\0x", 8), u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fakes_.prompter.Clear();
        ListRow row = rows[0];
        row[kServiceName] = c.name;
        row.name = EntryName(c.name, c.exactName);
        fakes_.prompter.QueueAnswer(kIdYes);
        EXPECT_FALSE(DeleteSelectedService(P(), &row));
        EXPECT_EQ(PromptTexts(), std::vector<std::string>{"该项目的名称含有无法处理的字符，本次没有做任何更改。"});
        EXPECT_NE(db_.Find("victim"), nullptr);
        std::vector<FolderEntry> kept;
        fakes_.files.ListFolder(RestoreFolderPath(P()), &kept);
        EXPECT_TRUE(kept.empty());
    }
}

// A service named in Hangul reads as "???" through the ANSI calls, which is
// also the name of another service here: its row opens, backs up and
// deletes the Hangul one only.
TEST_F(ServiceManagerTest, AServiceNamedInAnyScriptIsTheOneThatGoes) {
    const std::u16string hangul = u"\uCE74\uCE74\uC624";  // 카카오
    FakeServiceDatabase::Service& named = db_.Add("???", "Hangul", "C:\\h.exe");
    named.status.name = EntryName("???", hangul);
    named.config.startType = 2;
    db_.Add("???", "Decoy", "C:\\decoy.exe");
    RegHandle key = 0;
    ASSERT_EQ(fakes_.registry.CreateKeyW(kHkeyLocalMachine,
                                         u"SYSTEM\\CurrentControlSet\\Services\\" + hangul, &key),
              kErrorSuccess);
    fakes_.registry.SetValueW(key, u"Start", kRegDword, "\x02\0\0\0", 4);
    fakes_.registry.CloseKey(key);
    AddServiceKey(fakes_.registry, "???");

    std::vector<ListRow> rows = ServiceScan(P());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name.Stored(), hangul);
    EXPECT_EQ(rows[0][kServiceStartType], StartTypeWord(2));
    EXPECT_EQ(rows[1][kServiceStartType], StartTypeWord(3));
    // Another program holds the decoy open meanwhile: the deleted one goes
    // all the same once its own handles are closed.
    ScopedService manager(db_, db_.OpenManager(kScManagerAllAccess));
    ScopedService decoy(db_, db_.OpenServiceByName(manager.Get(), "???", kServiceAllAccess));
    ASSERT_TRUE(decoy);
    fakes_.prompter.QueueAnswer(kIdYes);
    ASSERT_TRUE(DeleteSelectedService(P(), &rows[0]));
    ASSERT_EQ(db_.Services().size(), 1u);
    EXPECT_EQ(db_.Services()[0].status.displayName, "Decoy");
    const std::vector<std::string> kept = [&] {
        std::vector<FolderEntry> entries;
        fakes_.files.ListFolder(RestoreFolderPath(P()), &entries);
        std::vector<std::string> names;
        for (const FolderEntry& e : entries) names.push_back(e.name.Shown());
        return names;
    }();
    ASSERT_EQ(kept.size(), 1u);
    const std::string bytes = fakes_.files.Contents(RestoreFolderPath(P()) + "\\" + kept[0]);
    std::u16string text = utf16::FromBytes(std::string_view(bytes).substr(2));
    EXPECT_NE(text.find(u"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" + hangul +
                        u"]\r\n\"Start\"=dword:00000002\r\n"),
              std::u16string::npos);
    EXPECT_EQ(text.find(u"ImagePath"), std::u16string::npos);
}

TEST_F(ServiceManagerTest, ProtectedWarningHasTwoLineBreaks) {
    EXPECT_EQ(std::string(kProtectedServiceWarning),
              "侦测出该文件是 Windows 系统文件并且是安全的,删除后将影响系统正常运行.\n\n"
              "本次删除操作已经被阻止");
}

TEST_F(ServiceManagerTest, RunningServiceStaysListedUntilStopped) {
    db_.Add("busy", "Busy", "C:\\b.exe", kServiceRunning);
    AddServiceKey(fakes_.registry, "busy");
    std::vector<ListRow> rows = ServiceScan(P());
    fakes_.clock.SetTime({9, 5, 2});
    fakes_.prompter.QueueAnswer(kIdYes);
    EXPECT_TRUE(DeleteSelectedService(P(), &rows[0]));
    rows = ServiceScan(P());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][kServiceState], "已启动");
    // Only marked: its restore file clears the mark and is imported after
    // the restart that takes the key away.
    const std::string text = Text(fakes_.codec, fakes_.files.Contents(
        "C:\\ProgramData\\Trimvex 还原文件\\2009-10-25 09.05.02 删除服务 busy.reg"));
    EXPECT_NE(text.find("\r\n; 该服务正在运行，删除要到 Windows 重新启动时才完成：请在重新启动之后再导入本文件。\r\n"),
              std::string::npos)
        << text;
    const std::string tail = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\busy]\r\n"
                             "\"DeleteFlag\"=-\r\n\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

TEST(ServiceManagerVersions, FileColumnsFromTheResolvedExecutable) {
    testing::FakePlatform fakes;
    fakes.serviceDatabase.Add("Svc", "Svc", "\"C:\\Program Files\\Svc\\svc.exe\" /service");
    fakes.versions.AddFile("C:\\Program Files\\Svc\\svc.exe", {0x04090000});
    const std::string base = "\\StringFileInfo\\04090000\\";
    fakes.versions.AddText("C:\\Program Files\\Svc\\svc.exe", base + "CompanyName", "Maker");
    fakes.versions.AddText("C:\\Program Files\\Svc\\svc.exe", base + "FileVersion", "5.1");
    fakes.versions.AddText("C:\\Program Files\\Svc\\svc.exe", base + "FileDescription", "Svc host");
    std::vector<ListRow> rows = ServiceScan(fakes.Get());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][kServiceFilePath], "C:\\Program Files\\Svc\\svc.exe");
    EXPECT_EQ(rows[0][kServiceCompany], "Maker");
    EXPECT_EQ(rows[0][kServiceFileVersion], "5.1");
    EXPECT_EQ(rows[0][kServiceFileDescription], "Svc host");
}

// A stop reaches the loop over the services: asked before each one, the scan
// opens no service past the check that said stop.
TEST_F(ServiceManagerTest, AStopEndsTheScanBeforeTheNextService) {
    const struct {
        int checksBeforeStop;
        size_t rows;
    } cases[] = {{0, 0}, {1, 1}, {3, 3}, {100, 5}};
    for (const auto& c : cases) {
        testing::FakePlatform fakes;
        for (int i = 0; i < 5; ++i) fakes.serviceDatabase.Add("S" + std::to_string(i), "D", "C:\\s.exe");
        int checks = 0;
        const std::vector<ListRow> rows =
            ServiceScan(fakes.Get(), [&] { return checks++ >= c.checksBeforeStop; });
        EXPECT_EQ(rows.size(), c.rows) << c.checksBeforeStop;
        std::set<std::string> opened(fakes.serviceDatabase.openedServices.begin(),
                                     fakes.serviceDatabase.openedServices.end());
        EXPECT_EQ(opened.size(), c.rows) << c.checksBeforeStop;
        EXPECT_EQ(fakes.serviceDatabase.OpenHandles(), 0);
    }
}

}  // namespace
}  // namespace tv
