#include "tests/contract/TasksUnderTest.h"

#include "platform/fake/FakeTaskScheduler.h"

namespace {

struct FakeTasks : TasksUnderTest {
    tv::FakeTaskScheduler* fake;
    FakeTasks() {
        auto f = std::make_unique<tv::FakeTaskScheduler>();
        fake = f.get();
        tasks = std::move(f);
    }
    bool Ready() override { return true; }
    bool Register(const std::u16string& path, const std::u16string& xml, bool enabled) override {
        fake->Add(path, xml, enabled);
        return true;
    }
};

}  // namespace

std::unique_ptr<TasksUnderTest> MakeTasksUnderTest() { return std::make_unique<FakeTasks>(); }
