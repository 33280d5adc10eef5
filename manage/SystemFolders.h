// The Windows and system directories as this program must address them on
// the system it runs on: a 32-bit program on 64-bit Windows reaches the real
// system directory only through its "Sysnative" alias (the name it is given
// is redirected to SysWOW64).
#pragma once

#include <cstdint>
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

// The command line that unregisters `file` silently, started by its full
// path: the registration tool of the system directory that serves the view
// the add-on's class was read in (SysWOW64 for the 32-bit view). The file is
// quoted so a path with blanks stays one argument. Empty when the system
// directory is unknown: then nothing is started.
std::string UnregisterCommand(const SystemFolders& folders, std::uint32_t classView,
                              const std::string& file);

}  // namespace tv
