// Scheduled tasks as startup rows: every task with an enabled logon or boot
// trigger, one row per program it runs; a task switched off is marked so.
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
// boot: at least one such trigger enabled, one row per Exec action (other
// actions run nothing the list could show). Enabled tasks go to *items;
// switched-off ones, with kDisabledMark before the folder in column 3,
// to *disabled, or are left out without it.
// Nothing without a task scheduler or when the service cannot be reached.
// `stop`, asked between tasks, ends the scan early.
void ScanTasks(const Platform& platform, std::vector<StartupItem>* items,
               const std::function<bool()>& stop = {}, std::vector<StartupItem>* disabled = nullptr);

}  // namespace tv
