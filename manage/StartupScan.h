// Walks the autostart catalogue and lists every entry: registry values
// reduced to the files they run, startup-folder files (shortcuts resolved to
// their targets), and the single values that differ from the defaults. Reads
// only; changes nothing.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "manage/StartupItem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"

namespace tv {

// Every row, in catalogue order (folder files in the order found). `stop`
// is asked before every location, value, folder entry, shortcut and task;
// when it says so the scan ends early with the rows found so far.
std::vector<StartupItem> StartupScan(const Platform& platform,
                                     const std::function<bool()>& stop = {});

// A real startup folder holds a few shortcuts, rarely a subfolder or two; a
// walk that goes beyond these bounds has been pointed at something else (a
// drive, a profile), and they keep it to a moment.
constexpr int kMaxStartupFolderDepth = 8;             // levels of subfolders
constexpr std::size_t kMaxStartupFolderEntries = 2000;  // entries of any kind

// The names of the rows that say a bound was reached, in column 0 beside the
// folder concerned: the startup folder for the entries, the first folder not
// walked for the depth.
std::string TooManyEntriesNote();
std::string TooDeepNote();

// Every file of `folder` and, depth first, of its subfolders (except those
// whose name begins with "."), appended to *items. "desktop.ini" is never
// listed. The walk stays in the folder's own tree: it never enters a
// junction or symbolic link, nor (by file identity, for links the platform
// does not flag) a folder already walked or one above `folder`, nor a folder
// whose identity cannot be read. It takes at most kMaxStartupFolderEntries
// entries from its listings and goes at most kMaxStartupFolderDepth levels
// down; where either bound leaves something out, a row with the notice icon
// says so (one for each bound). The process's current directory is left as
// it is.
void ScanStartupFolder(const Platform& platform, const std::string& folder,
                       std::vector<StartupItem>* items, const std::function<bool()>& stop = {});
// The same from the folder's exact path.
void ScanStartupFolder(const Platform& platform, const std::u16string& folder,
                       std::vector<StartupItem>* items, const std::function<bool()>& stop = {});

// The text of the "Shell Folders" value naming a startup folder; empty when
// it cannot be read.
std::string ReadStartupFolder(const Platform& platform, RegHandle root, const std::string& value);

// A value's whole data as text, up to its first NUL (a multi-string gives
// its first string), however long. False when the value cannot be read.
bool ReadWholeText(const RegKey& key, const std::string& name, std::string* text);

}  // namespace tv
