// Scheduled tasks in the startup list: which are listed and how, and what
// removing one deletes and keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/WideText.h"
#include "manage/StartupRemoval.h"
#include "manage/StartupScan.h"
#include "manage/TaskXml.h"
#include "platform/RestoreFiles.h"
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
        rows.push_back(i.name + " | " + i.path + " | " + i.root + " | " + i.subkey + " | " + i.hidden);
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
    }));
    // What removal acts on: the names exactly.
    const std::vector<StartupItem> items = StartupScan(fake.Get());
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[1].exactName, u"\uD55C\uAE00 \u66F4\u65B0");
    EXPECT_EQ(items[1].exactHidden, u"\\\uD55C\uAE00 \u66F4\u65B0");
    EXPECT_EQ(items[4].exactHidden, u"\\Vendor\\Sub\\Both");
}

TEST(StartupTasks, NoServiceOrNoSchedulerListsNoTaskAndSaysNothing) {
    testing::FakePlatform fake;
    fake.tasks.Add(u"\\Updater", Definition(kLogon, Exec(u"C:\\Tools\\app.exe")));
    fake.tasks.running = false;
    EXPECT_TRUE(TaskRows(fake).empty());
    fake.tasks.running = true;
    Platform platform = fake.Get();
    platform.tasks = nullptr;
    EXPECT_TRUE(StartupScan(platform).empty());
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
            if (i.exactHidden == path) return {i.name, i.root, i.subkey, i.hidden, i.exactName, i.exactHidden};
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
        for (const FolderEntry& e : entries) names.push_back(e.name);
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
    } cases[] = {
        {u"\\Vendor\\Boot", "2009-10-25 12.00.00 删除启动项 Boot"},
        // Named by its exact path: the task its 8-bit form names stays.
        {u"\\\uD55C\uAE00", "2009-10-25 12.00.00 删除启动项 __"},
        {u"\\Microsoft\\Office\\Tv", "2009-10-25 12.00.00 删除启动项 Tv"},
        {u"\\Microsoft\\WindowsTv", "2009-10-25 12.00.00 删除启动项 WindowsTv"},
    };
    for (const Case& c : cases) {
        fake = testing::FakePlatform();
        SetUp();
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
    StartupRowTexts row = RowOf(u"\\Vendor\\Boot");
    row.exactHidden = u"\\Vendor\\..\\Microsoft\\Windows\\Defrag\\ScheduledDefrag";
    row.exactName = u"ScheduledDefrag";
    const std::vector<std::u16string> before = Paths();
    EXPECT_TRUE(RemoveStartupItem(fake.Get(), row));
    EXPECT_EQ(Paths(), before);
    EXPECT_TRUE(fake.prompter.Prompts().empty());
    EXPECT_TRUE(Kept().empty());
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

}  // namespace
}  // namespace tv
