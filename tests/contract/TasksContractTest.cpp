// The task scheduler seam behaves alike over the fake and the real service:
// every folder's tasks, hidden ones too, by their exact UTF-16 paths, with
// definitions that give back their triggers and programs; a task read and
// deleted by its exact path only.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "manage/TaskXml.h"
#include "tests/contract/TasksUnderTest.h"

namespace {

const std::u16string kHangul = u"\\TvContract\\\uD55C\uAE00";

std::u16string Definition(const std::u16string& trigger, const std::u16string& command, bool enabled,
                          bool hidden) {
    return u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
           u"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           u"  <Triggers><" + trigger + u"><Enabled>true</Enabled></" + trigger + u"></Triggers>\r\n"
           u"  <Settings><Enabled>" + (enabled ? u"true" : u"false") + u"</Enabled><Hidden>" +
           (hidden ? u"true" : u"false") + u"</Hidden></Settings>\r\n"
           u"  <Actions Context=\"Author\"><Exec><Command>" + command +
           u"</Command><Arguments>/tv</Arguments></Exec></Actions>\r\n</Task>\r\n";
}

struct Registered {
    std::u16string path;
    std::u16string trigger;
    std::u16string command;
    bool enabled, hidden;
};

const std::vector<Registered>& Fixture() {
    static const std::vector<Registered> tasks = {
        {u"\\TvContract\\Logon", u"LogonTrigger", u"C:\\windows\\notepad.exe", true, false},
        {u"\\TvContract\\Sub\\Hidden", u"BootTrigger", u"C:\\tv\\boot.exe", true, true},
        {u"\\TvContract\\Off", u"LogonTrigger", u"C:\\tv\\off.exe", false, false},
        {kHangul, u"LogonTrigger", u"C:\\tv\\\uD55C.exe", true, false},
    };
    return tasks;
}

class TasksContract : public ::testing::Test {
protected:
    void SetUp() override {
        t = MakeTasksUnderTest();
        ASSERT_TRUE(t->Ready());
        for (const Registered& r : Fixture())
            ASSERT_TRUE(t->Register(r.path, Definition(r.trigger, r.command, r.enabled, r.hidden), r.enabled));
    }
    // The listed tasks of the fixture's folder, by path.
    std::vector<tv::RegisteredTask> Listed() {
        std::vector<tv::RegisteredTask> ours;
        for (tv::RegisteredTask& task : t->tasks->Tasks({}))
            if (task.path.rfind(u"\\TvContract\\", 0) == 0) ours.push_back(task);
        std::sort(ours.begin(), ours.end(),
                  [](const tv::RegisteredTask& a, const tv::RegisteredTask& b) { return a.path < b.path; });
        return ours;
    }
    // The commands of the task named in Hangul, read again by its path.
    std::vector<std::u16string> HangulCommands() {
        std::u16string xml;
        tv::TaskDefinition definition;
        std::vector<std::u16string> commands;
        if (t->tasks->TaskXml(kHangul, &xml) && tv::ReadTaskXml(xml, &definition))
            for (const auto& exec : definition.execs) commands.push_back(exec.command);
        return commands;
    }
    std::unique_ptr<TasksUnderTest> t;
};

TEST_F(TasksContract, ListsEveryFoldersTasksHiddenOnesTooWithTheirDefinitions) {
    std::vector<Registered> expected = Fixture();
    std::sort(expected.begin(), expected.end(),
              [](const Registered& a, const Registered& b) { return a.path < b.path; });
    const std::vector<tv::RegisteredTask> listed = Listed();
    ASSERT_EQ(listed.size(), expected.size());
    for (size_t i = 0; i < listed.size(); ++i) {
        const Registered& r = expected[i];
        EXPECT_EQ(listed[i].path, r.path);
        EXPECT_EQ(listed[i].name, r.path.substr(r.path.rfind(u'\\') + 1));
        EXPECT_EQ(listed[i].enabled, r.enabled) << i;
        tv::TaskDefinition definition;
        ASSERT_TRUE(tv::ReadTaskXml(listed[i].xml, &definition)) << i;
        ASSERT_EQ(definition.triggers.size(), 1u) << i;
        EXPECT_EQ(definition.triggers[0].kind, r.trigger == u"LogonTrigger" ? tv::TaskTriggerKind::Logon
                                                                            : tv::TaskTriggerKind::Boot);
        ASSERT_EQ(definition.execs.size(), 1u) << i;
        EXPECT_EQ(definition.execs[0].command, r.command) << i;
        EXPECT_EQ(definition.execs[0].arguments, u"/tv") << i;
    }
    // A stop request ends the listing.
    EXPECT_TRUE(t->tasks->Tasks([] { return true; }).empty());
}

TEST_F(TasksContract, ReadsAndDeletesOnlyTheTaskOfTheExactPath) {
    EXPECT_EQ(HangulCommands(), std::vector<std::u16string>{u"C:\\tv\\\uD55C.exe"});
    // The 8-bit form of the name is another name.
    std::u16string xml;
    EXPECT_FALSE(t->tasks->TaskXml(u"\\TvContract\\??", &xml));
    EXPECT_FALSE(t->tasks->DeleteTask(u"\\TvContract\\??"));
    EXPECT_FALSE(t->tasks->TaskXml(u"\\TvContract\\Missing", &xml));
    EXPECT_FALSE(t->tasks->DeleteTask(u"\\TvContract\\Missing"));

    EXPECT_TRUE(t->tasks->DeleteTask(u"\\TvContract\\Sub\\Hidden"));
    EXPECT_FALSE(t->tasks->TaskXml(u"\\TvContract\\Sub\\Hidden", &xml));
    EXPECT_FALSE(t->tasks->DeleteTask(u"\\TvContract\\Sub\\Hidden"));
    EXPECT_TRUE(t->tasks->DeleteTask(kHangul));
    std::vector<std::u16string> left;
    for (const tv::RegisteredTask& task : Listed()) left.push_back(task.path);
    EXPECT_EQ(left, (std::vector<std::u16string>{u"\\TvContract\\Logon", u"\\TvContract\\Off"}));
}

// Switching a task off and on by its exact path changes its enabled flag
// and nothing else: it stays registered with its definition.
TEST_F(TasksContract, SwitchesOnlyTheTaskOfTheExactPathOffAndOn) {
    if (!t->SwitchesTasks()) {
        // Nothing is switched there: the call says so and lists no change.
        EXPECT_FALSE(t->tasks->SetTaskEnabled(u"\\TvContract\\Logon", false));
        EXPECT_FALSE(t->tasks->SetTaskEnabled(u"\\TvContract\\Missing", false));
        for (const tv::RegisteredTask& task : Listed())
            if (task.path == u"\\TvContract\\Logon") { EXPECT_TRUE(task.enabled); }
        GTEST_SKIP() << "this task service cannot switch a task (Wine 8: put_Enabled not implemented)";
    }
    auto enabledOf = [&](const std::u16string& path) {
        for (const tv::RegisteredTask& task : Listed())
            if (task.path == path) return task.enabled ? 1 : 0;
        return -1;  // not listed
    };
    struct Step {
        std::u16string path;
        bool enable;
        bool done;
    } steps[] = {
        {u"\\TvContract\\Logon", false, true},
        {kHangul, false, true},
        {u"\\TvContract\\Off", true, true},
        {u"\\TvContract\\Logon", true, true},
        // The 8-bit form of a name, and no task at all.
        {u"\\TvContract\\??", false, false},
        {u"\\TvContract\\Missing", false, false},
    };
    int expectedLogon = 1, expectedHangul = 1, expectedOff = 0;
    for (const Step& step : steps) {
        EXPECT_EQ(t->tasks->SetTaskEnabled(step.path, step.enable), step.done);
        if (step.done && step.path == u"\\TvContract\\Logon") expectedLogon = step.enable;
        if (step.done && step.path == kHangul) expectedHangul = step.enable;
        if (step.done && step.path == u"\\TvContract\\Off") expectedOff = step.enable;
        EXPECT_EQ(enabledOf(u"\\TvContract\\Logon"), expectedLogon);
        EXPECT_EQ(enabledOf(kHangul), expectedHangul);
        EXPECT_EQ(enabledOf(u"\\TvContract\\Off"), expectedOff);
        EXPECT_EQ(enabledOf(u"\\TvContract\\Sub\\Hidden"), 1);
    }
    EXPECT_EQ(HangulCommands(), std::vector<std::u16string>{u"C:\\tv\\\uD55C.exe"});
}

}  // namespace
