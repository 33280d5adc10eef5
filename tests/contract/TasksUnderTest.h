// What the task scheduler contract tests run against: the fake natively,
// the Win32 adapter and the real service under Wine. Tasks are registered
// from their XML definitions; the harness deletes them again.
#pragma once

#include <memory>
#include <string>

#include "platform/TaskScheduler.h"

struct TasksUnderTest {
    std::unique_ptr<tv::TaskScheduler> tasks;
    // False when no service can be reached here.
    virtual bool Ready() = 0;
    // Registers the definition at `path`; `enabled` is what its settings
    // say (the real service reads it from the XML).
    virtual bool Register(const std::u16string& path, const std::u16string& xml, bool enabled) = 0;
    // False where the service cannot switch a registered task (Wine 8's
    // IRegisteredTask::put_Enabled is not implemented); Windows 7's can.
    virtual bool SwitchesTasks() { return true; }
    virtual ~TasksUnderTest() = default;
};

std::unique_ptr<TasksUnderTest> MakeTasksUnderTest();
