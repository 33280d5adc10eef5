// Where the restore files go and how they are named: one folder for the
// machine in the common application data folder, which only administrators
// may change (the files are imported with administrator rights later), one
// file per action named by date, time and what it holds (its subject, which
// the area that makes the change names). A file a change takes away is
// moved into the same folder instead of being deleted.
#pragma once

#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace tv {

class RegBackup;

// The folder's name in the common application data folder.
extern const char kRestoreFolderName[];
// Told, with the program's title, when a restore file cannot be written;
// nothing is changed then.
extern const char kRestoreFailedMessage[];

// "<common application data>\Trimvex 还原文件" (C:\ProgramData\... on
// Windows 7); empty when the system gives no such folder.
std::string RestoreFolderPath(const Platform& platform);

// The restore folder in use, made now if there is none: the folder of that
// name when it is this program's (see FileSystem::CreateProtectedFolder),
// else the first of "Trimvex 还原文件 (2)", "(3)", ... beside it that is or
// can be made; one that is not the program's is passed over without a
// word. Empty when none can be had.
std::string RestoreFolder(const Platform& platform);

// "2026-12-08 09.05.02 <subject> <detail>": the name of an action's file
// without its extension. `detail` (what was changed) is shortened and
// cleared of characters a file name cannot hold.
std::string RestoreFileStem(const LocalDateTime& when, const std::string& subject,
                            const std::string& detail = std::string());

// The first comment line of every restore file: what it holds and that
// importing it restores the state before the change.
std::string RestoreHeading(const std::string& subject);

// Writes the backup as a new .reg file in the restore folder (made if
// missing); `*path` gets where. With `held`, the file stays open there, for
// the caller to discard should the change not happen. False when the backup
// could not be read or written: the user is told, and the caller must change
// nothing.
bool SaveRestoreFile(const Platform& platform, const RegBackup& backup,
                     const std::string& subject, const std::string& detail = std::string(),
                     std::string* path = nullptr, std::unique_ptr<NewFile>* held = nullptr);

// The path in the restore folder a file called `name` is moved to: its own
// name, numbered " (2)", " (3)", ... before the extension when taken.
// Empty when the folder cannot be made.
std::string RestoreFolderSlot(const Platform& platform, const std::string& name);
// The same for a file known by its exact name (which the code page may not
// spell): the slot's exact path.
std::u16string RestoreFolderSlot(const Platform& platform, const std::u16string& name);

// The one message box of a failed backup.
void TellRestoreFailed(const Platform& platform);

}  // namespace tv
