// Walks the autostart catalogue and lists every entry: registry values
// reduced to the files they run, startup-folder files (shortcuts resolved to
// their targets), and the single values that differ from the defaults. Reads
// only; changes nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "manage/StartupItem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"

namespace tv {

// Every row, in catalogue order (folder files in the order found). When
// `stop` says so, between locations or between values, the scan ends early
// with the rows found so far.
std::vector<StartupItem> StartupScan(const Platform& platform,
                                     const std::function<bool()>& stop = {});

// Every file of `folder` and, depth first, of its subfolders (except those
// whose name begins with "."), appended to *items. "desktop.ini" is never
// listed. The walk stays in the folder's own tree: it never enters a
// junction or symbolic link, nor (by file identity, for links the platform
// does not flag) a folder already walked or one above `folder`, nor a folder
// whose identity cannot be read, nor more than 32 levels down. The process's
// current directory is left as it is.
void ScanStartupFolder(const Platform& platform, const std::string& folder,
                       std::vector<StartupItem>* items);
// The same from the folder's exact path.
void ScanStartupFolder(const Platform& platform, const std::u16string& folder,
                       std::vector<StartupItem>* items);

// The text of the "Shell Folders" value naming a startup folder; empty when
// it cannot be read.
std::string ReadStartupFolder(const Platform& platform, RegHandle root, const std::string& value);

// A value's whole data as text, up to its first NUL (a multi-string gives
// its first string), however long. False when the value cannot be read.
bool ReadWholeText(const RegKey& key, const std::string& name, std::string* text);

}  // namespace tv
