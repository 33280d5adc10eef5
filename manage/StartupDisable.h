// Switching startup entries off and on again, kept where Windows 7's system
// configuration tool keeps what it switched off, so that each program shows
// and can switch back what the other did: a value of a Run-style key is
// recorded under MSConfig\startupreg and removed from its key, a file of a
// startup folder is moved to %windir%\pss and recorded under
// MSConfig\startupfolder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "manage/StartupItem.h"
#include "manage/StartupRemoval.h"
#include "platform/Platform.h"

namespace tv {

// Below HKLM, in the system's own (64-bit) view.
extern const char kStartupRegRecords[];
extern const char kStartupFolderRecords[];
// The hidden column of a disabled row: one of these and its record's key name.
extern const char kStartupRegRecordPrefix[];
extern const char kStartupFolderRecordPrefix[];
// The mark of a disabled row, in its 子键 column.
extern const char kDisabledMark[];

// Our own values in a record, which the system tool ignores: the value's
// exact name when the record key had to be named otherwise, and its type and
// raw data when the REG_SZ "command" cannot carry them.
extern const char kRecordValueName[];
extern const char kRecordValueType[];
extern const char kRecordValueData[];

// Messages, shown with the program's title; nothing has changed.
extern const char kCannotDisableMessage[];
extern const char kPlaceTakenMessage[];
extern const char kDisableFailedMessage[];

// What a record of a file is named by: its full path with every "\"
// replaced by "^".
std::u16string FolderRecordName(const std::u16string& path);

// True for a row listed from a record.
bool IsDisabledRow(const StartupRowTexts& row);

// Switches the entry of an enabled row off. False when nothing changed (a
// refusal or a failure, told in a message, or a row that is disabled
// already); true when the list should be rebuilt.
bool DisableStartupItem(const Platform& platform, const StartupRowTexts& row);

// Puts the entry of a disabled row back and removes its record. False when
// nothing changed.
bool EnableStartupItem(const Platform& platform, const StartupRowTexts& row);

// The rows of every record that names a catalogued Run-style key or a file
// of one of the two startup folders, appended to *items; other records are
// left out.
void ScanDisabledStartupItems(const Platform& platform, std::vector<StartupItem>* items,
                              const std::function<bool()>& stop = {});

}  // namespace tv
