// Showing a row's file in Explorer, its folder open and the file selected.
#pragma once

#include <string>

#include "platform/Shell.h"

namespace tv {

// Whether `file` is a path Explorer can be shown at: a full path on a
// drive ("C:\...") or a share ("\\server\..."), with no double quote (which
// would end the argument it is given in).
bool HasFileLocation(const std::string& file);

// Explorer, from the Windows folder (by name alone when that is not known),
// told to open the file's folder with the file selected.
ShellLaunch ExplorerAtFile(const std::string& windowsFolder, const std::string& file);

}  // namespace tv
