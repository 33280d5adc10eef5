// The Windows and system directories as this program must address them on
// the system it runs on: a 32-bit program on 64-bit Windows reaches the real
// system directory only through its "Sysnative" alias (the name it is given
// is redirected to SysWOW64).
#pragma once

#include <string>

#include "platform/Platform.h"

namespace tv {

struct SystemFolders {
    std::string windows;  // GetWindowsDirectory
    std::string system;   // GetSystemDirectory, as the system names it
    bool system64 = false;
    bool program64 = false;
};

// The folders and bitness of the running system and program.
SystemFolders SystemFoldersOf(const Platform& platform);

// `path` as this program must open it to reach the file the system means:
// below the system directory, a 32-bit program on 64-bit Windows goes
// through Sysnative; every other path is returned as it is.
std::string NativeSystemPath(const SystemFolders& folders, const std::string& path);

}  // namespace tv
