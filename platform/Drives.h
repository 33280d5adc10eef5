// Drive roots ("C:\"), their kind, size and file system, behind the seam.
#pragma once

#include <cstdint>
#include <string>

namespace tv {

// GetDriveType results, with the Win32 values.
constexpr int kDriveUnknown = 0;
constexpr int kDriveNoRootDir = 1;
constexpr int kDriveRemovable = 2;
constexpr int kDriveFixed = 3;
constexpr int kDriveRemote = 4;
constexpr int kDriveCdRom = 5;
constexpr int kDriveRamDisk = 6;

struct DriveSpace {
    std::uint64_t freeToCaller = 0;  // bytes the calling user may use
    std::uint64_t total = 0;
    std::uint64_t totalFree = 0;
};

class Drives {
public:
    virtual ~Drives() = default;
    virtual int DriveType(const std::string& root) const = 0;
    // GetDiskFreeSpaceEx; false on failure.
    virtual bool Space(const std::string& root, DriveSpace* space) const = 0;
    // The file system's name from GetVolumeInformation ("NTFS", "FAT32");
    // false on failure.
    virtual bool FileSystemName(const std::string& root, std::string* name) const = 0;
};

}  // namespace tv
