// Removal of one startup entry, found again by the texts of its list row.
#pragma once

#include <string>

#include "platform/EntryName.h"
#include "platform/Platform.h"

namespace tv {

// Shown, with no icon and the application's title, for entries Windows
// needs.
extern const char kProtectedStartupMessage[];
// Shown, with the program's title, for a row listed switched off: it is
// put back before it can be deleted, and nothing is deleted.
extern const char kDisabledRowRemovalMessage[];
// The subject of a removed entry's restore file, a task's too.
extern const char kRestoreStartupSubject[];

// The columns of a row the removal reads.
struct StartupRowTexts {
    EntryName name;      // column 0
    std::string root;    // column 2
    std::string subkey;  // column 3
    EntryName hidden;    // column 4: a folder row's own file
};

// Deletes the registry value or the startup-folder file behind the row, or
// refuses a protected entry with kProtectedStartupMessage, a row listed
// switched off with kDisabledRowRemovalMessage, and a row whose name or file
// has a NUL in it with kUnhandledNameMessage. What goes is
// kept first: values in a restore file, a folder's file moved into the
// restore folder. False when the removal was refused or that could not be
// done (nothing changed, no rescan wanted); true otherwise, whether or not
// anything could be deleted.
bool RemoveStartupItem(const Platform& platform, const StartupRowTexts& row);

}  // namespace tv
