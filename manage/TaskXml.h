// What a task's XML definition says about when it starts and what it runs:
// its triggers and its actions. Reads only; the text is data from whoever
// registered the task.
#pragma once

#include <string>
#include <vector>

namespace tv {

enum class TaskTriggerKind { Logon, Boot, Other };

struct TaskTrigger {
    TaskTriggerKind kind = TaskTriggerKind::Other;
    bool enabled = true;  // the schema's default when <Enabled> is absent
};

// An action of kind Exec: the program and its arguments, as written.
struct TaskExec {
    std::u16string command;
    std::u16string arguments;
};

struct TaskDefinition {
    std::vector<TaskTrigger> triggers;
    std::vector<TaskExec> execs;  // Exec actions only, in order
};

// Reads the definition; false when the text is no well-formed task
// document (unbalanced or unterminated elements, an unknown entity, a root
// other than <Task>). Element names are matched without their namespace
// prefix.
bool ReadTaskXml(const std::u16string& xml, TaskDefinition* definition);

}  // namespace tv
