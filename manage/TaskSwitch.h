// Switching the scheduled task behind a startup row off and on through the
// task service: the task stays registered with its enabled flag changed, as
// the Task Scheduler itself does it and shows it.
#pragma once

#include "manage/StartupRemoval.h"
#include "platform/Platform.h"

namespace tv {

// Told, with the program's title, when the service refuses the switch;
// nothing has changed.
extern const char kTaskSwitchFailedMessage[];

// A task row listed switched off: kDisabledMark leads its column 3.
bool IsDisabledTaskRow(const StartupRowTexts& row);

// Switches the task named by the row's exact path on (`enable`) or off,
// after a restore file giving the command that switches it back. Refuses
// one of the system's own with kProtectedStartupMessage and a name with a
// NUL in it with kUnhandledNameMessage. False when nothing changed (a
// refusal, a failure told in a message, or a row already in that state);
// true when the list should be rebuilt.
bool SwitchTaskItem(const Platform& platform, const StartupRowTexts& row, bool enable);

}  // namespace tv
