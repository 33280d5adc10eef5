// Removal of the scheduled task behind a startup row.
#pragma once

#include "manage/StartupRemoval.h"
#include "platform/Platform.h"

namespace tv {

// A row the task scan made: its location text, and a folder and trigger in
// column 3 (a startup-folder row, whose column 2 is a path a shortcut may
// name, has none).
bool IsTaskRow(const StartupRowTexts& row);

enum class TaskRowPath {
    kNone,       // names no task: a part "." or "..", or a path not ending in the row's name
    kProtected,  // one of the system's own, under \Microsoft\Windows\ (any case); the user was told
    kTask,       // the one task the row stands for
};

// The exact path of a task row (`*path`), checked as every action on a
// task needs it: a protected one is refused with kProtectedStartupMessage.
TaskRowPath CheckTaskRowPath(const Platform& platform, const StartupRowTexts& row, std::u16string* path);

// Deletes the task named by the row's exact path, or refuses one of the
// system's own (under \Microsoft\Windows\) with kProtectedStartupMessage
// and a name with a NUL in it with kUnhandledNameMessage.
// Its definition is kept first as XML in the restore folder, beside a
// restore file that gives the command registering it again. False when
// refused or when that could not be written (nothing deleted); true
// otherwise.
bool RemoveTaskItem(const Platform& platform, const StartupRowTexts& row);

}  // namespace tv
