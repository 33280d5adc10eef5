// Scheduled tasks as startup rows: every enabled task with an enabled logon
// or boot trigger, one row per program it runs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "manage/StartupItem.h"
#include "platform/Platform.h"

namespace tv {

// Column 2 of a task's row.
extern const char kTaskRootText[];

// Appends the rows of every task that starts a program at logon or at
// boot: the task and at least one such trigger enabled, one row per Exec
// action (other actions run nothing the list could show). Nothing without a
// task scheduler or when the service cannot be reached. `stop`, asked
// between tasks, ends the scan early.
void ScanTasks(const Platform& platform, std::vector<StartupItem>* items,
               const std::function<bool()>& stop = {});

}  // namespace tv
