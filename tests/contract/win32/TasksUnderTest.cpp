#include "tests/contract/TasksUnderTest.h"

#include <vector>

#include "platform/win32/Win32TaskScheduler.h"
#include "tests/support/TaskService.h"

namespace {

struct RealTasks : TasksUnderTest {
    std::vector<std::u16string> registered;
    RealTasks() { tasks = std::make_unique<tv::Win32TaskScheduler>(); }
    ~RealTasks() override {
        for (const std::u16string& path : registered) tv::testing::DeleteTestTask(path);
    }
    bool Ready() override { return tv::testing::StartTaskService(); }
    bool Register(const std::u16string& path, const std::u16string& xml, bool) override {
        registered.push_back(path);
        return tv::testing::RegisterTask(path, xml);
    }
    bool SwitchesTasks() override { return tv::testing::SwitchesTasks(); }
};

}  // namespace

std::unique_ptr<TasksUnderTest> MakeTasksUnderTest() { return std::make_unique<RealTasks>(); }
