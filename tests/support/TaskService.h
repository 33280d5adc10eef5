// The Task Scheduler service for tests: started where a new prefix leaves
// it stopped, tasks registered from XML and deleted past the seam.
#pragma once

#include <string>

namespace tv::testing {

// Starts the service if it is not running (`net start schedule`, retried
// while the prefix settles); true once a connection is made.
bool StartTaskService();

// Registers the definition at `path` (replacing any task there) through
// the service. Wine 8 drops a definition's triggers and actions when it
// registers it; there the file it keeps for the task is given the whole
// definition, as Windows would have stored it.
bool RegisterTask(const std::u16string& path, const std::u16string& xml);

// Gives the task's stored file the whole definition under Wine (after a
// registration by another program); nothing on Windows.
void KeepWholeDefinition(const std::u16string& path, const std::u16string& xml);

// Deletes the task, if there is one.
void DeleteTestTask(const std::u16string& path);

// Whether the service switches a registered task on and off: not Wine 8's,
// whose IRegisteredTask::put_Enabled changes nothing.
bool SwitchesTasks();

// The task's enabled flag as the service reports it (1 or 0); -1 when
// there is no such task or the service does not say.
int TaskEnabled(const std::u16string& path);

// The definition as schtasks reads it: UTF-16LE with a byte-order mark.
std::string Utf16FileBytes(const std::u16string& xml);

}  // namespace tv::testing
