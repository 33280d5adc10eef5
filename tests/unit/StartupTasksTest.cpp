// Scheduled tasks in the startup list: which are listed and how, and what
// removing one deletes and keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/WideText.h"
#include "manage/StartupRemoval.h"
#include "manage/StartupScan.h"
#include "manage/StartupDisable.h"
#include "manage/TaskSwitch.h"
#include "manage/TaskXml.h"
#include "platform/Registry.h"
#include "platform/RegistryViews.h"
#include "restore/RestoreFiles.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

const std::u16string kLogon = u"<LogonTrigger><Enabled>true</Enabled></LogonTrigger>";
const std::u16string kLogonOff = u"<LogonTrigger><Enabled>false</Enabled></LogonTrigger>";
const std::u16string kBoot = u"<BootTrigger/>";
const std::u16string kBootOff = u"<BootTrigger><Enabled>0</Enabled></BootTrigger>";
const std::u16string kTime =
    u"<TimeTrigger><StartBoundary>2009-10-25T08:00:00</StartBoundary></TimeTrigger>";
const std::u16string kCom = u"<ComHandler><ClassId>{00000000-0000-0000-0000-000000000001}</ClassId></ComHandler>";

std::u16string Exec(const std::u16string& command, const std::u16string& arguments = u"") {
    return u"<Exec><Command>" + command + u"</Command>" +
           (arguments.empty() ? u"" : u"<Arguments>" + arguments + u"</Arguments>") + u"</Exec>";
}

// A task whose elements nest `levels` deep, <Task> counted, beside one Exec.
std::u16string Nested(int levels) {
    std::u16string open, close;
    for (int i = 1; i < levels; ++i) {
        open += u"<a>";
        close += u"</a>";
    }
    return u"<Task><Actions>" + Exec(u"C:\\t.exe") + u"</Actions>" + open + close + u"</Task>";
}

// A definition as Windows 7 writes one.
std::u16string Definition(const std::u16string& triggers, const std::u16string& actions) {
    return u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
           u"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           u"  <RegistrationInfo><URI>x</URI></RegistrationInfo>\r\n"
           u"  <Triggers>" + triggers + u"</Triggers>\r\n"
           u"  <Settings><Enabled>true</Enabled><Hidden>false</Hidden></Settings>\r\n"
           u"  <Actions Context=\"Author\">" + actions + u"</Actions>\r\n</Task>\r\n";
}

std::vector<std::string> TaskRows(testing::FakePlatform& fake) {
    std::vector<std::string> rows;
    for (const StartupItem& i : StartupScan(fake.Get())) {
        rows.push_back(i.name.Shown() + " | " + i.path + " | " + i.root + " | " + i.subkey + " | " + i.hidden.Shown());
        EXPECT_EQ(i.iconFile, i.path);
        EXPECT_EQ(i.iconResource, kIconRegistryFile);
    }
    return rows;
}

TEST(StartupTasks, ListsEnabledTasksThatStartAtLogonOrBootOneRowPerProgram) {
    testing::FakePlatform fake;
    fake.tasks.Add(u"\\Vendor\\Sub\\Both", Definition(kTime + kBoot + kLogon,
                   Exec(u"C:\\Program Files\\Vendor\\a.exe", u"/min") + kCom + Exec(u"\"C:\\B\\b.exe\"")));
    fake.tasks.Add(u"\\Updater", Definition(kLogon, Exec(u"C:\\Tools\\app.exe", u"-q")));
    fake.tasks.Add(u"\\Vendor\\Boot", Definition(kLogonOff + kBoot, Exec(u"C:\\A&amp;B\\boot.exe")));
    fake.tasks.Add(u"\\TimeOnly", Definition(kTime, Exec(u"C:\\t.exe")));
    fake.tasks.Add(u"\\TriggersOff", Definition(kLogonOff + kBootOff + kTime, Exec(u"C:\\t.exe")));
    fake.tasks.Add(u"\\TaskOff", Definition(kLogon, Exec(u"C:\\t.exe")), false);
    fake.tasks.Add(u"\\TaskOffTimeOnly", Definition(kTime, Exec(u"C:\\t.exe")), false);
    fake.tasks.Add(u"\\ComOnly", Definition(kLogon, kCom));
    fake.tasks.Add(u"\\Broken", u"<Task><Triggers>" + kLogon + u"<Actions>" + Exec(u"C:\\t.exe"));
    fake.tasks.Add(u"\\Unreadable", Definition(kLogon, Exec(u"C:\\t.exe")));
    fake.tasks.unreadable.insert(u"\\Unreadable");
    fake.tasks.Add(u"\\\uD55C\uAE00 \u66F4\u65B0", Definition(kLogon, Exec(u"%SystemRoot%\\notepad.exe")));
    EXPECT_EQ(TaskRows(fake), (std::vector<std::string>{
        "Updater | c:\\tools\\app.exe | 计划任务 | \\ [登录时] | \\Updater",
        "?? 更新 | c:\\windows\\notepad.exe | 计划任务 | \\ [登录时] | \\?? 更新",
        "Boot | c:\\a&b\\boot.exe | 计划任务 | \\Vendor [启动时] | \\Vendor\\Boot",
        "Both | c:\\program files\\vendor\\a.exe | 计划任务 | \\Vendor\\Sub [登录时,启动时] | \\Vendor\\Sub\\Both",
        "Both | c:\\b\\b.exe | 计划任务 | \\Vendor\\Sub [登录时,启动时] | \\Vendor\\Sub\\Both",
        // Switched off: after every enabled row, marked.
        "TaskOff | c:\\t.exe | 计划任务 | [已禁用] \\ [登录时] | \\TaskOff",
    }));
    // What removal acts on: the names exactly.
    const std::vector<StartupItem> items = StartupScan(fake.Get());
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[1].name.Stored(), u"\uD55C\uAE00 \u66F4\u65B0");
    EXPECT_EQ(items[1].hidden.Stored(), u"\\\uD55C\uAE00 \u66F4\u65B0");
    EXPECT_EQ(items[4].hidden.Stored(), u"\\Vendor\\Sub\\Both");
}

TEST(StartupTasks, NoServiceListsNoTaskAndSaysNothing) {
    testing::FakePlatform fake;
    fake.tasks.Add(u"\\Updater", Definition(kLogon, Exec(u"C:\\Tools\\app.exe")));
    fake.tasks.running = false;
    EXPECT_TRUE(TaskRows(fake).empty());
    fake.tasks.running = true;
    EXPECT_TRUE(fake.prompter.Prompts().empty());
    // A stop request ends the scan before the tasks.
    EXPECT_TRUE(StartupScan(fake.Get(), [] { return true; }).empty());
}

TEST(StartupTasks, ReadsTriggersAndProgramsOfAnyWellFormedDefinition) {
    struct Case {
        const char* label;
        std::u16string xml;
        bool read;
        std::vector<TaskTrigger> triggers;
        std::u16string command, arguments;
    } cases[] = {
        {"prefixed names, comments, CDATA, references",
         u"\uFEFF<?xml version=\"1.0\"?><!-- a > b --><t:Task xmlns:t=\"x\"><t:Triggers>"
         u"<t:LogonTrigger id=\"a>b\"><t:Enabled> false </t:Enabled></t:LogonTrigger><t:BootTrigger/>"
         u"</t:Triggers><t:Actions><t:Exec><t:Command><![CDATA[C:\\a<b>.exe]]></t:Command>"
         u"<t:Arguments>&quot;&#x4E2D;&#25991;&#x1F600;&apos;</t:Arguments></t:Exec></t:Actions></t:Task>",
         true, {{TaskTriggerKind::Logon, false}, {TaskTriggerKind::Boot, true}}, u"C:\\a<b>.exe",
         u"\"\u4E2D\u6587\U0001F600'"},
        {"unterminated", u"<Task><Triggers><BootTrigger/></Triggers>", false, {}, u"", u""},
        {"mismatched end", u"<Task><Triggers></Actions></Task>", false, {}, u"", u""},
        {"other root", u"<Job><Triggers><BootTrigger/></Triggers></Job>", false, {}, u"", u""},
        {"document type", u"<!DOCTYPE Task [<!ENTITY e \"x\">]><Task/>", false, {}, u"", u""},
        {"unknown reference", u"<Task><Actions><Exec><Command>&e;</Command></Exec></Actions></Task>",
         false, {}, u"", u""},
        {"not a boolean", u"<Task><Triggers><BootTrigger><Enabled>yes</Enabled></BootTrigger></Triggers></Task>",
         false, {}, u"", u""},
        {"second root", u"<Task/><Task/>", false, {}, u"", u""},
        {"single quotes and the ends of the hex digits",
         u"<Task><Triggers><BootTrigger id='a>b'/></Triggers><Actions><Exec>"
         u"<Command>&#xaf;&#xAF;&#x6a;&#x6F;</Command></Exec></Actions></Task>",
         true, {{TaskTriggerKind::Boot, true}}, u"\u00AF\u00AFjo", u""},
        {"tag cut off at the end", u"<Task><Triggers", false, {}, u"", u""},
        // A surrogate by number is no character: both ends of the range are
        // refused, the characters just outside them read.
        {"first surrogate", u"<Task><Actions><Exec><Command>&#xD800;</Command></Exec></Actions></Task>",
         false, {}, u"", u""},
        {"last surrogate", u"<Task><Actions><Exec><Command>&#57343;</Command></Exec></Actions></Task>",
         false, {}, u"", u""},
        {"around the surrogates",
         u"<Task><Actions><Exec><Command>&#xD7FF;&#xE000;</Command></Exec></Actions></Task>", true, {},
         u"\uD7FF\uE000", u""},
        // Nesting is bounded: 64 levels are read, one more is refused.
        {"as deep as allowed", Nested(64), true, {}, u"C:\\t.exe", u""},
        {"too deep", Nested(65), false, {}, u"", u""},
        // Only an action's own Command and Arguments count, not one nested
        // deeper nor one elsewhere at the same depth.
        {"commands nested and elsewhere",
         u"<Task><Settings><Idle><Command>C:\\idle.exe</Command></Idle></Settings><Actions><Exec>"
         u"<Command>C:\\t.exe</Command><Extra><Command>C:\\x.exe</Command></Extra></Exec></Actions></Task>",
         true, {}, u"C:\\t.exe", u""},
        {"reference without its semicolon", u"<Task><Actions><Exec><Command>&amp x</Command></Exec></Actions></Task>",
         false, {}, u"", u""},
    };
    for (const Case& c : cases) {
        TaskDefinition definition;
        ASSERT_EQ(ReadTaskXml(c.xml, &definition), c.read) << c.label;
        if (!c.read) continue;
        ASSERT_EQ(definition.triggers.size(), c.triggers.size()) << c.label;
        for (size_t i = 0; i < c.triggers.size(); ++i) {
            EXPECT_EQ(definition.triggers[i].kind, c.triggers[i].kind) << c.label;
            EXPECT_EQ(definition.triggers[i].enabled, c.triggers[i].enabled) << c.label;
        }
        ASSERT_EQ(definition.execs.size(), 1u) << c.label;
        EXPECT_EQ(definition.execs[0].command, c.command) << c.label;
        EXPECT_EQ(definition.execs[0].arguments, c.arguments) << c.label;
    }
}

class StartupTaskRemoval : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char16_t* path :
             {u"\\Vendor\\Boot", u"\\\uD55C\uAE00", u"\\??", u"\\Microsoft\\Windows\\Defrag\\ScheduledDefrag",
              u"\\MICROSOFT\\windows\\Tv", u"\\Microsoft\\Office\\Tv", u"\\Microsoft\\WindowsTv"})
            fake.tasks.Add(path, Definition(kBoot, Exec(u"C:\\t.exe")));
    }
    StartupRowTexts RowOf(const std::u16string& path) {
        for (const StartupItem& i : StartupScan(fake.Get()))
            if (i.hidden.Stored() == path) return {i.name, i.root, i.subkey, i.hidden};
        ADD_FAILURE() << "no row";
        return {};
    }
    std::vector<std::u16string> Paths() const {
        std::vector<std::u16string> paths;
        for (const RegisteredTask& t : fake.tasks.tasks) paths.push_back(t.path);
        return paths;
    }
    std::vector<std::string> Kept() {
        std::vector<FolderEntry> entries;
        fake.files.ListFolder(RestoreFolderPath(fake.Get()), &entries);
        std::vector<std::string> names;
        for (const FolderEntry& e : entries) names.push_back(e.name.Shown());
        return names;
    }
    std::u16string Utf16(const std::string& bytes) {
        std::u16string wide = utf16::FromBytes(bytes);
        return wide;
    }
    testing::FakePlatform fake;
};

TEST_F(StartupTaskRemoval, DeletesExactlyTheRowsTaskAfterKeepingItsDefinition) {
    struct Case {
        std::u16string path;
        std::string stem;
        bool ticking = false;
    } cases[] = {
        {u"\\Vendor\\Boot", "2009-10-25 12.00.00 删除启动项 Boot"},
        // The kept definition and its restore file share one reading of the
        // clock, so their names pair however slow the machine.
        {u"\\Vendor\\Boot", "2009-10-25 12.00.00 删除启动项 Boot", true},
        // Named by its exact path: the task its 8-bit form names stays.
        {u"\\\uD55C\uAE00", "2009-10-25 12.00.00 删除启动项 __"},
        {u"\\Microsoft\\Office\\Tv", "2009-10-25 12.00.00 删除启动项 Tv"},
        {u"\\Microsoft\\WindowsTv", "2009-10-25 12.00.00 删除启动项 WindowsTv"},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
        fake.clock.SetTicking(c.ticking);
        std::vector<std::u16string> expected = Paths();
        expected.erase(std::find(expected.begin(), expected.end(), c.path));
        const std::u16string xml = Definition(kBoot, Exec(u"C:\\t.exe"));
        EXPECT_TRUE(RemoveStartupItem(fake.Get(), RowOf(c.path))) << c.stem;
        EXPECT_EQ(Paths(), expected) << c.stem;
        ASSERT_EQ(Kept(), (std::vector<std::string>{c.stem + ".reg", c.stem + ".xml"})) << c.stem;
        // The comments name the machine's restore folder, where the files are.
        const std::string folder = "C:\\ProgramData\\Trimvex 还原文件\\";
        const std::string saved = fake.files.Contents(folder + c.stem + ".xml");
        ASSERT_EQ(saved.substr(0, 2), "\xFF\xFE");
        EXPECT_EQ(Utf16(saved.substr(2)), xml) << c.stem;
        const std::u16string command = fake.codec.AnsiToWide(
            "; 恢复时请在命令提示符中运行：schtasks /create /xml \"" + folder + c.stem + ".xml\" /tn \"");
        EXPECT_EQ(Utf16(fake.files.Contents(folder + c.stem + ".reg")),
                  u"\uFEFF" + fake.codec.AnsiToWide(
                      "Windows Registry Editor Version 5.00\r\n"
                      "; Trimvex 删除启动项之前的注册表内容。双击本文件并确认导入，即可恢复原状。\r\n"
                      "; 计划任务的定义已保存到：" + folder + c.stem + ".xml\r\n") +
                      command + c.path + u"\"\r\n\r\n")
            << c.stem;
        EXPECT_TRUE(fake.prompter.Prompts().empty());
        EXPECT_EQ(fake.tasks.deletes, std::vector<std::u16string>{c.path});
    }
}

// A row whose path climbs out of its folder names no task: nothing is
// deleted, whatever the path would reach.
TEST_F(StartupTaskRemoval, APathWithDotsDeletesNothing) {
    // Even a task registered under the dotted name itself is not the row's.
    fake.tasks.Add(u"\\Vendor\\.\\Boot", Definition(kLogon, Exec(u"C:\\Tools\\app.exe")));
    const std::pair<std::u16string, std::u16string> named[] = {
        {u"\\Vendor\\..\\Microsoft\\Windows\\Defrag\\ScheduledDefrag", u"ScheduledDefrag"},
        {u"\\Vendor\\.\\Boot", u"Boot"}};
    for (const auto& [path, name] : named) {
        StartupRowTexts row = RowOf(u"\\Vendor\\Boot");
        row.hidden = EntryName(row.hidden.Shown(), path);
        row.name = EntryName(row.name.Shown(), name);
        const std::vector<std::u16string> before = Paths();
        EXPECT_TRUE(RemoveStartupItem(fake.Get(), row));
        EXPECT_EQ(Paths(), before);
        EXPECT_TRUE(fake.prompter.Prompts().empty());
        EXPECT_TRUE(Kept().empty());
    }
}

TEST_F(StartupTaskRemoval, RefusesTheSystemsTasksAndDeletesNothingWithoutItsRestoreFiles) {
    struct Case {
        const char* label;
        std::u16string path;
        std::function<void(testing::FakePlatform&)> before;
        std::string message;
    } cases[] = {
        {"system task", u"\\Microsoft\\Windows\\Defrag\\ScheduledDefrag", {},
         "Windows 运行需要该键,不能删除,如果病毒木马修改请单击\"安全修复\"即可恢复系统默认"},
        {"system task, other case", u"\\MICROSOFT\\windows\\Tv", {},
         "Windows 运行需要该键,不能删除,如果病毒木马修改请单击\"安全修复\"即可恢复系统默认"},
        {"disk full", u"\\Vendor\\Boot", [](testing::FakePlatform& f) { f.files.SetFull(true); },
         "无法写入还原文件，本次没有做任何更改。"},
        {"no common application data folder", u"\\Vendor\\Boot",
         [](testing::FakePlatform& f) { f.environment.commonAppDataFolder.clear(); },
         "无法写入还原文件，本次没有做任何更改。"},
        {"the common application data folder is a link", u"\\Vendor\\Boot",
         [](testing::FakePlatform& f) { f.files.AddLink(f.environment.commonAppDataFolder, "C:\\Windows"); },
         "无法写入还原文件，本次没有做任何更改。"},
        {"no name left for the restore file beside the kept definition", u"\\Vendor\\Boot",
         [](testing::FakePlatform& f) {
             const std::string stem = RestoreFolderPath(f.Get()) + "\\2009-10-25 12.00.00 删除启动项 Boot";
             f.files.AddFile(stem + ".reg");
             for (int n = 2; n <= 100; ++n) f.files.AddFile(stem + " (" + std::to_string(n) + ").reg");
         },
         "无法写入还原文件，本次没有做任何更改。"},
        {"cannot be deleted", u"\\Vendor\\Boot",
         [](testing::FakePlatform& f) { f.tasks.undeletable.insert(u"\\Vendor\\Boot"); }, ""},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
        const StartupRowTexts row = RowOf(c.path);
        if (c.before) c.before(fake);
        const std::vector<std::u16string> before = Paths();
        const std::vector<std::string> kept = Kept();
        EXPECT_EQ(RemoveStartupItem(fake.Get(), row), c.message.empty()) << c.label;
        EXPECT_EQ(Paths(), before) << c.label;
        EXPECT_EQ(Kept(), kept) << c.label;
        if (c.message.empty()) {
            EXPECT_TRUE(fake.prompter.Prompts().empty()) << c.label;
            continue;
        }
        ASSERT_EQ(fake.prompter.Prompts().size(), 1u) << c.label;
        EXPECT_EQ(fake.prompter.Prompts()[0].text, c.message) << c.label;
        EXPECT_EQ(fake.prompter.Prompts()[0].caption, "") << c.label;
    }
}

class StartupTaskSwitch : public StartupTaskRemoval {
protected:
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (const StartupItem& i : StartupScan(fake.Get()))
            rows.push_back(i.name.Shown() + " | " + i.path + " | " + i.root + " | " + i.subkey + " | " + i.hidden.Shown());
        return rows;
    }
    bool Enabled(const std::u16string& path) const {
        for (const RegisteredTask& t : fake.tasks.tasks)
            if (t.path == path) return t.enabled;
        ADD_FAILURE() << "no task";
        return false;
    }
    std::vector<std::string> Prompts() {
        std::vector<std::string> texts;
        for (const Prompt& p : fake.prompter.Prompts()) texts.push_back(p.text);
        return texts;
    }
    // The one comment-only restore file of a switch: the command that
    // switches the task back.
    std::u16string RestoreFile(const char* subject, const std::u16string& path, const char16_t* back) {
        return u"\uFEFF" +
               fake.codec.AnsiToWide(std::string("Windows Registry Editor Version 5.00\r\n; Trimvex ") + subject +
                                     "之前的注册表内容。双击本文件并确认导入，即可恢复原状。\r\n"
                                     "; 恢复时请在命令提示符中运行：schtasks /change /tn \"") +
               path + u"\" " + back + u"\r\n\r\n";
    }
};

TEST_F(StartupTaskSwitch, SwitchesExactlyTheRowsTaskOffAndOnAgainThroughTheService) {
    struct Case {
        std::u16string path;
        std::string detail;  // in the restore files' names
        std::string row;     // as listed switched off
    } cases[] = {
        {u"\\Vendor\\Boot", "Boot", "Boot | c:\\t.exe | 计划任务 | [已禁用] \\Vendor [启动时] | \\Vendor\\Boot"},
        // Named by its exact path: the task its 8-bit form names stays on.
        {u"\\\uD55C\uAE00", "__", "?? | c:\\t.exe | 计划任务 | [已禁用] \\ [启动时] | \\??"},
        {u"\\Microsoft\\Office\\Tv", "Tv",
         "Tv | c:\\t.exe | 计划任务 | [已禁用] \\Microsoft\\Office [启动时] | \\Microsoft\\Office\\Tv"},
        {u"\\Microsoft\\WindowsTv", "WindowsTv",
         "WindowsTv | c:\\t.exe | 计划任务 | [已禁用] \\Microsoft [启动时] | \\Microsoft\\WindowsTv"},
    };
    const std::string folder = "C:\\ProgramData\\Trimvex 还原文件\\";
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
        const std::vector<std::string> before = Rows();
        const std::vector<std::u16string> paths = Paths();

        const StartupRowTexts on = RowOf(c.path);
        EXPECT_FALSE(IsDisabledTaskRow(on)) << c.detail;
        EXPECT_TRUE(DisableStartupItem(fake.Get(), on)) << c.detail;
        EXPECT_EQ(Paths(), paths) << c.detail;  // still registered
        for (const RegisteredTask& t : fake.tasks.tasks) EXPECT_EQ(t.enabled, t.path != c.path) << c.detail;
        EXPECT_EQ(fake.tasks.switches, (std::vector<std::pair<std::u16string, bool>>{{c.path, false}}));
        // Listed marked, after every row that is on, the others as before.
        std::vector<std::string> expected = before;
        const std::string mark = "[已禁用] ";
        std::string enabledRow = c.row;
        enabledRow.erase(enabledRow.find(mark), mark.size());
        const auto at = std::find(expected.begin(), expected.end(), enabledRow);
        ASSERT_NE(at, expected.end()) << c.detail;
        expected.erase(at);
        expected.push_back(c.row);
        EXPECT_EQ(Rows(), expected) << c.detail;
        const std::string disabledStem = "2009-10-25 12.00.00 禁用启动项 " + c.detail;
        ASSERT_EQ(Kept(), (std::vector<std::string>{disabledStem + ".reg"})) << c.detail;
        EXPECT_EQ(Utf16(fake.files.Contents(folder + disabledStem + ".reg")),
                  RestoreFile("禁用启动项", c.path, u"/enable"))
            << c.detail;

        const StartupRowTexts off = RowOf(c.path);
        EXPECT_TRUE(IsDisabledTaskRow(off)) << c.detail;
        // Already off: nothing asked of the service.
        EXPECT_FALSE(DisableStartupItem(fake.Get(), off)) << c.detail;
        EXPECT_TRUE(EnableStartupItem(fake.Get(), off)) << c.detail;
        EXPECT_TRUE(Enabled(c.path)) << c.detail;
        EXPECT_EQ(fake.tasks.switches,
                  (std::vector<std::pair<std::u16string, bool>>{{c.path, false}, {c.path, true}}));
        EXPECT_EQ(Rows(), before) << c.detail;  // byte for byte as before
        const std::string enabledStem = "2009-10-25 12.00.00 启用启动项 " + c.detail;
        std::vector<std::string> kept = Kept();
        std::sort(kept.begin(), kept.end());
        std::vector<std::string> both{enabledStem + ".reg", disabledStem + ".reg"};
        std::sort(both.begin(), both.end());
        ASSERT_EQ(kept, both) << c.detail;
        EXPECT_EQ(Utf16(fake.files.Contents(folder + enabledStem + ".reg")),
                  RestoreFile("启用启动项", c.path, u"/disable"))
            << c.detail;
        // Already on.
        EXPECT_FALSE(EnableStartupItem(fake.Get(), RowOf(c.path))) << c.detail;
        EXPECT_EQ(fake.tasks.switches.size(), 2u) << c.detail;
        EXPECT_TRUE(fake.prompter.Prompts().empty()) << c.detail;
        EXPECT_EQ(Paths(), paths) << c.detail;
    }
}

// A task switched off elsewhere (in the Task Scheduler) is listed switched
// off, after the entries the system configuration tool switched off, and
// can be switched on here.
TEST_F(StartupTaskSwitch, ATaskSwitchedOffElsewhereIsListedLastAndCanBeSwitchedOn) {
    fake.tasks.Add(u"\\Off", Definition(kLogon + kBoot, Exec(u"C:\\off.exe", u"-x")), false);
    RegHandle record = 0;
    const std::string recordPath = std::string(kStartupRegRecords) + "\\Tool";
    ASSERT_EQ(fake.registry.CreateKeyW(kHkeyLocalMachine, fake.codec.AnsiToWide(recordPath), &record, SystemView(fake.Get())),
              kErrorSuccess);
    RegKey owned(fake.registry, record, SystemView(fake.Get()));
    for (const auto& [name, value] : std::vector<std::pair<std::u16string, std::u16string>>{
             {u"hkey", u"HKCU"},
             {u"key", u"Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
             {u"item", u"tool"},
             {u"command", u"C:\\tool.exe"},
             {u"inimapping", u"0"}}) {
        const std::string bytes = utf16::ToBytes(value) + std::string(2, '\0');
        ASSERT_EQ(fake.registry.SetValueW(record, name, kRegSz, bytes.data(), static_cast<std::uint32_t>(bytes.size())),
                  kErrorSuccess);
    }
    owned.Close();
    const std::vector<std::string> rows = Rows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(rows.end() - 2, rows.end()),
              (std::vector<std::string>{
                  "Tool | c:\\tool.exe | HKEY_CURRENT_USER | [已禁用] SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run | "
                  "HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\Tool",
                  "Off | c:\\off.exe | 计划任务 | [已禁用] \\ [登录时,启动时] | \\Off",
              }));
    EXPECT_TRUE(EnableStartupItem(fake.Get(), RowOf(u"\\Off")));
    EXPECT_TRUE(Enabled(u"\\Off"));
    // Among the tasks that are on, in the service's order; the record last.
    const std::vector<std::string> after = Rows();
    ASSERT_EQ(after.size(), rows.size());
    EXPECT_EQ(after[2], "Off | c:\\off.exe | 计划任务 | \\ [登录时,启动时] | \\Off");
    EXPECT_EQ(after.back(), rows[rows.size() - 2]);
}

TEST_F(StartupTaskSwitch, RefusesTheSystemsTasksAndNamesWithANulAndAFailedSwitchLeavesNothing) {
    const std::string protectedText =
        "Windows 运行需要该键,不能删除,如果病毒木马修改请单击\"安全修复\"即可恢复系统默认";
    struct Case {
        const char* label;
        std::u16string path;
        bool enable;  // the task is off and the row is switched on
        std::function<void(testing::FakePlatform&, StartupRowTexts&)> before;
        std::string message;
        bool asked;  // the service was asked
    } cases[] = {
        {"system task", u"\\Microsoft\\Windows\\Defrag\\ScheduledDefrag", false, {}, protectedText, false},
        {"system task, other case", u"\\MICROSOFT\\windows\\Tv", false, {}, protectedText, false},
        {"system task switched on", u"\\MICROSOFT\\windows\\Tv", true, {}, protectedText, false},
        {"a NUL in the path", u"\\Vendor\\Boot", false,
         [](testing::FakePlatform&, StartupRowTexts& r) { r.hidden = EntryName(r.hidden.Shown(), std::u16string(u"\\Vendor\\Boot\0x", 14)); },
         "该项目的名称含有无法处理的字符，本次没有做任何更改。", false},
        {"a NUL in the name, switched on", u"\\Vendor\\Boot", true,
         [](testing::FakePlatform&, StartupRowTexts& r) { r.name = EntryName(r.name.Shown(), std::u16string(u"Boot\0x", 6)); },
         "该项目的名称含有无法处理的字符，本次没有做任何更改。", false},
        {"the service refuses", u"\\Vendor\\Boot", false,
         [](testing::FakePlatform& f, StartupRowTexts&) { f.tasks.unswitchable.insert(u"\\Vendor\\Boot"); },
         "任务计划程序没有接受这一更改，该计划任务保持原状。", true},
        {"the service refuses to switch on", u"\\Vendor\\Boot", true,
         [](testing::FakePlatform& f, StartupRowTexts&) { f.tasks.unswitchable.insert(u"\\Vendor\\Boot"); },
         "任务计划程序没有接受这一更改，该计划任务保持原状。", true},
        {"disk full", u"\\Vendor\\Boot", false,
         [](testing::FakePlatform& f, StartupRowTexts&) { f.files.SetFull(true); },
         "无法写入还原文件，本次没有做任何更改。", false},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
        if (c.enable) fake.tasks.Add(c.path, Definition(kBoot, Exec(u"C:\\t.exe")), false);
        StartupRowTexts row = RowOf(c.path);
        if (c.before) c.before(fake, row);
        const std::vector<std::string> rows = Rows();
        EXPECT_FALSE(c.enable ? EnableStartupItem(fake.Get(), row) : DisableStartupItem(fake.Get(), row)) << c.label;
        EXPECT_EQ(Enabled(c.path), !c.enable) << c.label;
        EXPECT_EQ(fake.tasks.switches.size(), c.asked ? 1u : 0u) << c.label;
        EXPECT_EQ(Rows(), rows) << c.label;
        EXPECT_TRUE(Kept().empty()) << c.label;
        EXPECT_EQ(Prompts(), std::vector<std::string>{c.message}) << c.label;
    }
}

TEST_F(StartupTaskSwitch, ATaskGoneSinceTheScanIsLeftToTheRescan) {
    const StartupRowTexts row = RowOf(u"\\Vendor\\Boot");
    auto& tasks = fake.tasks.tasks;
    tasks.erase(std::remove_if(tasks.begin(), tasks.end(),
                               [](const RegisteredTask& t) { return t.path == u"\\Vendor\\Boot"; }),
                tasks.end());
    // True: the list is built again and shows the task gone; nothing is asked or kept.
    EXPECT_TRUE(DisableStartupItem(fake.Get(), row));
    EXPECT_TRUE(fake.tasks.switches.empty());
    EXPECT_TRUE(Kept().empty());
    EXPECT_TRUE(Prompts().empty());
}

}  // namespace
}  // namespace tv
