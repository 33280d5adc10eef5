#pragma once

#include "platform/Drives.h"

namespace tv {

// GetDriveTypeA, GetDiskFreeSpaceExA, GetVolumeInformationA.
class Win32Drives : public Drives {
public:
    int DriveType(const std::string& root) const override;
    bool Space(const std::string& root, DriveSpace* space) const override;
    bool FileSystemName(const std::string& root, std::string* name) const override;
};

}  // namespace tv
