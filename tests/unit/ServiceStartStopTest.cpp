// The services page's start type and run state buttons against the fake
// service manager and registry: what each changes, what it records where
// the system configuration tool keeps it, what it refuses and says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manage/NameCheck.h"
#include "manage/ServiceDeletion.h"
#include "manage/ServiceRunState.h"
#include "manage/ServiceScan.h"
#include "manage/ServiceStartType.h"
#include "platform/WideText.h"
#include "restore/RestoreFiles.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

constexpr char kRecordKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\services";
constexpr char16_t kRecordKeyW[] = u"SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\services";

std::string Text(const TextCodec& codec, const std::string& bytes) {
    std::u16string wide = utf16::FromBytes(std::string_view(bytes).substr(2));
    return codec.WideToAnsi(wide);
}

// A clock that moves only when the wait pauses.
struct CountingClock {
    std::uint32_t now = 0xFFFFF000u;  // wraps during the wait
    std::uint32_t slept = 0;
    int pauses = 0;
    WaitClock Get() {
        return {[this] { return now; }, [this](std::uint32_t ms) {
                    now += ms;
                    slept += ms;
                    ++pauses;
                }};
    }
};

class ServiceStartStopTest : public ::testing::Test {
protected:
    ServiceStartStopTest() {
        // A 64-bit Windows seen by this 32-bit program: a record written
        // without the 64-bit view would land in Wow6432Node.
        fakes_.registry.UseViews(FakeRegistry::Views::TwoFor32BitProgram);
        fakes_.system.is64BitSystem = true;
        fakes_.clock.SetTime({9, 5, 2});
    }
    Platform P() { return fakes_.Get(); }

    FakeServiceDatabase::Service& AddService(const std::string& name, std::uint32_t startType,
                                             std::uint32_t state = kServiceStopped) {
        FakeServiceDatabase::Service& service = db_.Add(name, name + " Display", "C:\\s.exe", state);
        service.config.startType = startType;
        RegKey key = RegKey::Create(fakes_.registry, kHkeyLocalMachine, kServicesKey + name);
        key.SetDword("Start", startType);
        return service;
    }
    ListRow RowOf(const std::string& name) {
        for (const ListRow& row : ServiceScan(P()))
            if (row[kServiceName] == name) return row;
        ADD_FAILURE() << name;
        return ListRow(kServiceColumnCount);
    }
    // The record's type and data in `view`; type 0 when absent.
    std::pair<std::uint32_t, std::uint32_t> Record(const std::u16string& name,
                                                   std::uint32_t view = kKeyWow64_64Key) {
        RegHandle key = 0;
        if (fakes_.registry.OpenKeyW(kHkeyLocalMachine, kRecordKeyW, kKeyRead | view, &key) !=
            kErrorSuccess)
            return {0, 0};
        std::uint32_t type = 0, data = 0, size = 4;
        if (fakes_.registry.QueryValueW(key, name, &type, &data, &size) != kErrorSuccess) type = 0;
        fakes_.registry.CloseKey(key);
        return {type, data};
    }
    std::vector<std::string> PromptTexts() {
        std::vector<std::string> texts;
        for (const auto& p : fakes_.prompter.Prompts()) texts.push_back(p.text);
        return texts;
    }
    std::vector<std::string> RestoreFiles() {
        std::vector<FolderEntry> entries;
        fakes_.files.ListFolder(RestoreFolderPath(P()), &entries);
        std::vector<std::string> names;
        for (const FolderEntry& e : entries) names.push_back(e.name.Shown());
        return names;
    }

    testing::FakePlatform fakes_;
    FakeServiceDatabase& db_ = fakes_.serviceDatabase;
};

// Each start type button on a service of each start type: the type set,
// the record written with the old type or removed, the list's word.
TEST_F(ServiceStartStopTest, EachStartTypeButton) {
    struct Case {
        std::uint32_t before;
        std::uint32_t pressed;
        bool recordBefore;           // the system tool's record is there
        std::uint32_t recordAfter;   // 0: none
        const char* word;
    } const cases[] = {
        {kServiceAutoStart, kServiceDisabled, false, kServiceAutoStart, "禁止"},
        {kServiceDemandStart, kServiceDisabled, false, kServiceDemandStart, "禁止"},
        {kServiceDisabled, kServiceAutoStart, true, 0, "自动"},
        {kServiceDisabled, kServiceDemandStart, true, 0, "手动"},
        {kServiceDisabled, kServiceDemandStart, false, 0, "手动"},
        {kServiceAutoStart, kServiceDemandStart, false, 0, "手动"},
        {kServiceDemandStart, kServiceAutoStart, false, 0, "自动"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.before) + " -> " + std::to_string(c.pressed));
        fakes_ = testing::FakePlatform();
        fakes_.registry.UseViews(FakeRegistry::Views::TwoFor32BitProgram);
        fakes_.system.is64BitSystem = true;
        AddService("victim", c.before);
        AddService("other", kServiceAutoStart);
        if (c.recordBefore) {
            RegKey key = RegKey::Create(fakes_.registry, kHkeyLocalMachine, kRecordKey,
                                        kKeyWow64_64Key);
            key.SetDword("victim", kServiceAutoStart);
            key.SetDword("other", kServiceDemandStart);
        }
        ListRow row = RowOf("victim");
        EXPECT_TRUE(SetSelectedServiceStartType(P(), &row, c.pressed));
        EXPECT_TRUE(PromptTexts().empty());
        EXPECT_EQ(db_.Find("victim")->config.startType, c.pressed);
        EXPECT_EQ(db_.Find("other")->config.startType, kServiceAutoStart);
        EXPECT_EQ(Record(u"victim"), (std::pair<std::uint32_t, std::uint32_t>{
                                         c.recordAfter ? kRegDword : 0, c.recordAfter}));
        // Never in the 32-bit program's own view.
        EXPECT_EQ(Record(u"victim", kKeyWow64_32Key).first, 0u);
        // Another service's record stays.
        if (c.recordBefore) { EXPECT_EQ(Record(u"other").second, kServiceDemandStart); }
        EXPECT_EQ(RowOf("victim")[kServiceStartType], c.word);
        EXPECT_EQ(RestoreFiles().size(), 1u);
        EXPECT_EQ(db_.OpenHandles(), 0);
    }
}

TEST_F(ServiceStartStopTest, DisablingKeepsTheKeyAndTheRecordsAbsenceFirst) {
    AddService("victim", kServiceAutoStart);
    ListRow row = RowOf("victim");
    ASSERT_TRUE(SetSelectedServiceStartType(P(), &row, kServiceDisabled));
    const std::string file = "C:\\ProgramData\\Trimvex 还原文件\\"
                             "2009-10-25 09.05.02 服务启动类型 victim.reg";
    EXPECT_EQ(Text(fakes_.codec, fakes_.files.Contents(file)),
              "Windows Registry Editor Version 5.00\r\n"
              "; Trimvex 服务启动类型之前的注册表内容。双击本文件并确认导入，即可恢复原状。\r\n"
              "; 导入后，该服务的启动类型在 Windows 下次启动时恢复。\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\victim]\r\n"
              "\"Start\"=dword:00000002\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\services]\r\n"
              "\"victim\"=-\r\n"
              "\r\n");
}

TEST_F(ServiceStartStopTest, EnablingKeepsTheRecordFirst) {
    AddService("victim", kServiceDisabled);
    RegKey::Create(fakes_.registry, kHkeyLocalMachine, kRecordKey, kKeyWow64_64Key)
        .SetDword("victim", kServiceDemandStart);
    ListRow row = RowOf("victim");
    ASSERT_TRUE(SetSelectedServiceStartType(P(), &row, kServiceAutoStart));
    const std::string file = "C:\\ProgramData\\Trimvex 还原文件\\"
                             "2009-10-25 09.05.02 服务启动类型 victim.reg";
    const std::string text = Text(fakes_.codec, fakes_.files.Contents(file));
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\victim]\r\n"
                        "\"Start\"=dword:00000004\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\services]\r\n"
                        "\"victim\"=dword:00000003\r\n"),
              std::string::npos);
}

// Disabled, then back: the record goes, and the type is the one chosen.
TEST_F(ServiceStartStopTest, RoundTripLeavesNoRecord) {
    AddService("victim", kServiceDemandStart);
    ListRow row = RowOf("victim");
    ASSERT_TRUE(SetSelectedServiceStartType(P(), &row, kServiceDisabled));
    EXPECT_EQ(Record(u"victim").second, kServiceDemandStart);
    row = RowOf("victim");
    ASSERT_TRUE(SetSelectedServiceStartType(P(), &row, kServiceDemandStart));
    EXPECT_EQ(Record(u"victim").first, 0u);
    EXPECT_EQ(db_.Find("victim")->config.startType, kServiceDemandStart);
}

// What is refused changes nothing and writes no file.
TEST_F(ServiceStartStopTest, StartTypeRefusals) {
    struct Case {
        const char* name;
        std::uint32_t before;
        std::uint32_t pressed;
        bool nullRow;
        std::string told;
    } const cases[] = {
        {"RpcSs", kServiceAutoStart, kServiceDisabled, false, kEssentialServiceWarning},
        {"rpceptmapper", kServiceAutoStart, kServiceDisabled, false, kEssentialServiceWarning},
        {"DcomLaunch", kServiceAutoStart, kServiceDisabled, false, kEssentialServiceWarning},
        {"PlugPlay", kServiceAutoStart, kServiceDisabled, false, kEssentialServiceWarning},
        {"ProfSvc", kServiceAutoStart, kServiceDisabled, false, kEssentialServiceWarning},
        {"PROFSVC", kServiceDemandStart, kServiceDisabled, false, kEssentialServiceWarning},
        {"victim", kServiceDisabled, kServiceDisabled, false, "该服务的启动类型已经是“禁止”。"},
        {"victim", kServiceAutoStart, kServiceAutoStart, false, "该服务的启动类型已经是“自动”。"},
        {"victim", kServiceAutoStart, kServiceDisabled, true, kNoServiceSelected},
        {std::string("victim\0x", 8).c_str(), kServiceAutoStart, kServiceDisabled, false,
         kUnhandledNameMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.told);
        fakes_ = testing::FakePlatform();
        fakes_.system.is64BitSystem = true;
        const std::string name = c.told == kUnhandledNameMessage ? std::string("victim\0x", 8) : c.name;
        AddService("victim", c.before);
        AddService(c.name, c.before);
        ListRow row(kServiceColumnCount);
        row[kServiceName] = name;
        row.name = name;
        EXPECT_FALSE(SetSelectedServiceStartType(P(), c.nullRow ? nullptr : &row, c.pressed));
        EXPECT_EQ(PromptTexts(), std::vector<std::string>{c.told});
        EXPECT_EQ(db_.Find("victim")->config.startType, c.before);
        EXPECT_EQ(db_.Find(c.name)->config.startType, c.before);
        EXPECT_TRUE(RestoreFiles().empty());
        EXPECT_EQ(Record(u"victim").first, 0u);
    }
}

// Only the services named in full are protected; others of the system that
// Windows documents no start or logon need of are switched as any other.
TEST_F(ServiceStartStopTest, OnlyTheDocumentedServicesAreProtected) {
    struct Case {
        const char* name;
        bool essential;
    } const cases[] = {
        {"RpcSs", true},     {"rpceptmapper", true}, {"DcomLaunch", true}, {"PlugPlay", true},
        {"ProfSvc", true},   {"Power", false},       {"SamSs", false},     {"LSM", false},
        {"RpcSsX", false},   {"Rpc", false},         {"ProfSv", false},    {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsEssentialService(fakes_.codec.AnsiToWide(c.name)), c.essential);
    }
}

// A service gone since the scan: the user is told, nothing is written, and
// the list is rebuilt without it.
TEST_F(ServiceStartStopTest, AServiceGoneSinceTheScanIsToldAndTheListRebuilt) {
    ListRow row(kServiceColumnCount);
    row[kServiceName] = "gone";
    row.name = "gone";
    EXPECT_TRUE(SetSelectedServiceStartType(P(), &row, kServiceDisabled));
    EXPECT_EQ(PromptTexts(), std::vector<std::string>{kOpenServiceError});
    EXPECT_TRUE(RestoreFiles().empty());
    EXPECT_EQ(Record(u"gone").first, 0u);
}

// Essential services may still be set to automatic or manual.
TEST_F(ServiceStartStopTest, AnEssentialServiceCanBeSetToAutomatic) {
    AddService("RpcSs", kServiceDemandStart);
    ListRow row = RowOf("RpcSs");
    EXPECT_TRUE(SetSelectedServiceStartType(P(), &row, kServiceAutoStart));
    EXPECT_EQ(db_.Find("RpcSs")->config.startType, kServiceAutoStart);
}

TEST_F(ServiceStartStopTest, AServiceNamedInAnyScriptIsTheOneChangedAndRecorded) {
    const std::u16string hangul = u"\uCE74\uCE74\uC624";
    FakeServiceDatabase::Service& named = db_.Add("???", "Hangul", "C:\\h.exe");
    named.status.name = EntryName("???", hangul);
    named.config.startType = kServiceAutoStart;
    RegHandle key = 0;
    ASSERT_EQ(fakes_.registry.CreateKeyW(kHkeyLocalMachine,
                                         u"SYSTEM\\CurrentControlSet\\Services\\" + hangul, &key),
              kErrorSuccess);
    fakes_.registry.SetValueW(key, u"Start", kRegDword, "\x02\0\0\0", 4);
    fakes_.registry.CloseKey(key);
    AddService("???", kServiceAutoStart);  // the decoy the code page's name reaches
    std::vector<ListRow> rows = ServiceScan(P());
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_EQ(rows[0].name.Stored(), hangul);
    ASSERT_TRUE(SetSelectedServiceStartType(P(), &rows[0], kServiceDisabled));
    EXPECT_EQ(db_.Services()[0].config.startType, kServiceDisabled);
    EXPECT_EQ(db_.Services()[1].config.startType, kServiceAutoStart);
    EXPECT_EQ(Record(hangul).second, kServiceAutoStart);
    EXPECT_EQ(Record(u"???").first, 0u);
}

TEST_F(ServiceStartStopTest, AChangeTheManagerRefusesIsSaid) {
    AddService("victim", kServiceAutoStart).canChange = false;
    ListRow row = RowOf("victim");
    EXPECT_TRUE(SetSelectedServiceStartType(P(), &row, kServiceDisabled));
    EXPECT_EQ(PromptTexts(), std::vector<std::string>{kChangeStartTypeError});
    EXPECT_EQ(Record(u"victim").first, 0u);
}

// Start and stop: what is asked of the manager, the state reached, the
// message.
TEST_F(ServiceStartStopTest, StartAndStopOutcomes) {
    struct Case {
        const char* what;
        RunChange change;
        std::uint32_t startType;
        std::uint32_t before;
        bool hangs;
        std::uint32_t after;
        std::string told;
    } const cases[] = {
        {"start", RunChange::Start, kServiceDemandStart, kServiceStopped, false, kServiceRunning, ""},
        {"stop", RunChange::Stop, kServiceAutoStart, kServiceRunning, false, kServiceStopped, ""},
        {"start disabled", RunChange::Start, kServiceDisabled, kServiceStopped, false,
         kServiceStopped, kServiceIsDisabledMessage},
        {"start running", RunChange::Start, kServiceAutoStart, kServiceRunning, false,
         kServiceRunning, kServiceAlreadyRunningMessage},
        {"stop stopped", RunChange::Stop, kServiceAutoStart, kServiceStopped, false,
         kServiceStopped, kServiceNotRunningMessage},
        {"start hangs", RunChange::Start, kServiceAutoStart, kServiceStopped, true,
         kServiceStartPending, kServiceStartTimeout},
        {"stop hangs", RunChange::Stop, kServiceAutoStart, kServiceRunning, true,
         kServiceStopPending, kServiceStopTimeout},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakes_ = testing::FakePlatform();
        FakeServiceDatabase::Service& service = AddService("victim", c.startType, c.before);
        service.startHangs = service.stopHangs = c.hangs;
        ListRow row = RowOf("victim");
        std::optional<RunRequest> request = PrepareRunChange(P(), &row, c.change);
        ASSERT_TRUE(request);
        CountingClock clock;
        EXPECT_EQ(ChangeRunState(P(), *request, [] { return false; }, clock.Get()), c.told);
        EXPECT_EQ(db_.Find("victim")->status.currentState, c.after);
        EXPECT_EQ(RowOf("victim")[kServiceState], ServiceStateWord(c.after));
        // The wait ends at 30 s of the clock, not sooner, never later.
        if (c.hangs) {
            EXPECT_EQ(clock.slept, kServiceWaitMs);
            EXPECT_EQ(clock.pauses, static_cast<int>(kServiceWaitMs / kServicePollMs));
        } else {
            EXPECT_EQ(clock.slept, 0u);
        }
        EXPECT_TRUE(fakes_.prompter.Prompts().empty());
        EXPECT_EQ(db_.OpenHandles(), 0);
    }
}

// The stop flag reaches the wait: it ends at the next look, with nothing
// to say.
TEST_F(ServiceStartStopTest, AStopEndsTheWait) {
    AddService("victim", kServiceAutoStart).startHangs = true;
    ListRow row = RowOf("victim");
    std::optional<RunRequest> request = PrepareRunChange(P(), &row, RunChange::Start);
    ASSERT_TRUE(request);
    CountingClock clock;
    int looks = 0;
    EXPECT_EQ(ChangeRunState(P(), *request, [&] { return ++looks > 2; }, clock.Get()), "");
    EXPECT_EQ(clock.pauses, 2);
    EXPECT_EQ(looks, 3);
    EXPECT_EQ(db_.OpenHandles(), 0);
}

TEST_F(ServiceStartStopTest, AStopRefusedForRunningDependentsNamesThem) {
    FakeServiceDatabase::Service& base = AddService("base", kServiceAutoStart, kServiceRunning);
    base.dependents = {"userA", "userB", "idle"};
    AddService("userA", kServiceAutoStart, kServiceRunning);
    AddService("userB", kServiceAutoStart, kServiceStartPending);
    AddService("idle", kServiceDemandStart, kServiceStopped);
    ListRow row = RowOf("base");
    std::optional<RunRequest> request = PrepareRunChange(P(), &row, RunChange::Stop);
    ASSERT_TRUE(request);
    CountingClock clock;
    EXPECT_EQ(ChangeRunState(P(), *request, {}, clock.Get()),
              "下列正在运行的服务依赖该服务，请先停止它们:\n"
              "userA (userA Display)\n"
              "userB (userB Display)");
    EXPECT_EQ(db_.Find("base")->status.currentState, kServiceRunning);
    // Once they are stopped, it stops.
    db_.Find("userA")->status.currentState = kServiceStopped;
    db_.Find("userB")->status.currentState = kServiceStopped;
    EXPECT_EQ(ChangeRunState(P(), *request, {}, clock.Get()), "");
    EXPECT_EQ(db_.Find("base")->status.currentState, kServiceStopped);
}

TEST_F(ServiceStartStopTest, RunStateRefusals) {
    AddService("RpcSs", kServiceAutoStart, kServiceRunning);
    AddService("DcomLaunch", kServiceAutoStart, kServiceRunning);
    AddService("victim", kServiceAutoStart, kServiceRunning);
    for (const char* name : {"RpcSs", "dcomlaunch"}) {
        fakes_.prompter.Clear();
        ListRow row(kServiceColumnCount);
        row[kServiceName] = name;
        row.name = name;
        EXPECT_FALSE(PrepareRunChange(P(), &row, RunChange::Stop));
        EXPECT_EQ(PromptTexts(), std::vector<std::string>{kEssentialServiceWarning});
    }
    // Starting one is fine.
    ListRow rpc = RowOf("RpcSs");
    EXPECT_TRUE(PrepareRunChange(P(), &rpc, RunChange::Start));
    fakes_.prompter.Clear();
    ListRow nul(kServiceColumnCount);
    nul[kServiceName] = std::string("victim\0x", 8);
    nul.name = nul[kServiceName];
    EXPECT_FALSE(PrepareRunChange(P(), &nul, RunChange::Stop));
    EXPECT_EQ(PromptTexts(), std::vector<std::string>{kUnhandledNameMessage});
    fakes_.prompter.Clear();
    EXPECT_FALSE(PrepareRunChange(P(), nullptr, RunChange::Start));
    EXPECT_EQ(PromptTexts(), std::vector<std::string>{kNoServiceSelected});
    EXPECT_EQ(db_.Find("victim")->status.currentState, kServiceRunning);
    EXPECT_EQ(db_.Find("RpcSs")->status.currentState, kServiceRunning);
}

TEST_F(ServiceStartStopTest, AServiceThatCannotBeOpenedIsSaid) {
    AddService("victim", kServiceDemandStart).canOpen = false;
    RunRequest request{RunChange::Start, "victim"};
    CountingClock clock;
    EXPECT_EQ(ChangeRunState(P(), request, {}, clock.Get()), kOpenServiceError);
    db_.refusedManagerAccess.insert(kScManagerAllAccess);
    EXPECT_EQ(ChangeRunState(P(), request, {}, clock.Get()), kOpenManagerError);
}

}  // namespace
}  // namespace tv
