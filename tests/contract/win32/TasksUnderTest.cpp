#include "tests/contract/TasksUnderTest.h"

#include <windows.h>

#include <vector>

#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32TaskScheduler.h"
#include "tests/support/TaskService.h"

namespace {

struct RealTasks : TasksUnderTest {
    // Every case registers the same folder of the one scheduler: cases run
    // side by side in other processes take turns, or one's end removes
    // another's tasks.
    tv::ScopedHandle turn{CreateMutexA(nullptr, FALSE, "Local\\TvTasksContract")};
    std::vector<std::u16string> registered;
    RealTasks() {
        if (turn) WaitForSingleObject(turn.Get(), 120000);
        tasks = std::make_unique<tv::Win32TaskScheduler>();
    }
    ~RealTasks() override {
        for (const std::u16string& path : registered) tv::testing::DeleteTestTask(path);
        if (turn) ReleaseMutex(turn.Get());
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
