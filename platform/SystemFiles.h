// What the pages ask about a file on disk beyond its existence: whether the
// system protects it, and its times and size.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ProcessTable.h"

namespace tv {

struct FileStamps {
    LocalTime created;
    LocalTime written;
    std::uint32_t sizeLow = 0;  // the low 32 bits of the size
};

class SystemFiles {
public:
    virtual ~SystemFiles() = default;
    // SfcIsFileProtected; false when the check is not available.
    virtual bool IsProtected(const std::string& path) = 0;
    // The file opened for reading: creation and last-write times in local
    // time and its size. False when it cannot be opened or read.
    virtual bool ReadStamps(const std::string& path, FileStamps* stamps) = 0;
};

}  // namespace tv
