// The helpers the service and process lists take from the shared management
// code: version strings of a file, the debug privilege, number grouping, the
// path reductions, the known program table and the system directories.
// Gathered here so the lists depend on them through one door.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace tv {

struct FileVersionStrings {
    std::string company;
    std::string version;
    std::string description;
};

// CompanyName, FileVersion and FileDescription of the file's version
// resource; empty texts when it has none.
FileVersionStrings ReadFileVersionStrings(const Platform& platform, const std::string& path);
// Enables SeDebugPrivilege in the program's token; false when that fails.
bool EnableDebugPrivilege(const Platform& platform);
// Decimal digits in groups of three separated by ",".
std::string GroupedNumber(std::uint32_t value);
// The executable of a service's binary path name.
std::string ServiceImagePath(const std::string& binaryPath);
// A process or module path in kernel form made a file path.
std::string NormalizedImagePath(const Platform& platform, const std::string& path);
// The friendly text of a well-known program, or empty text.
std::string KnownFileText(const std::string& imageName, const std::string& description);
std::string SystemDirectoryPath(const Platform& platform);
std::string WindowsDirectoryPath(const Platform& platform);

}  // namespace tv
