#include "platform/win32/Win32Drives.h"

#include <windows.h>

namespace tv {

int Win32Drives::DriveType(const std::string& root) const {
    return static_cast<int>(GetDriveTypeA(root.c_str()));
}

bool Win32Drives::Space(const std::string& root, DriveSpace* space) const {
    ULARGE_INTEGER freeToCaller{}, total{}, totalFree{};
    if (!GetDiskFreeSpaceExA(root.c_str(), &freeToCaller, &total, &totalFree)) return false;
    space->freeToCaller = freeToCaller.QuadPart;
    space->total = total.QuadPart;
    space->totalFree = totalFree.QuadPart;
    return true;
}

bool Win32Drives::FileSystemName(const std::string& root, std::string* name) const {
    char volume[MAX_PATH + 1] = {};
    char fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0, maxComponent = 0, flags = 0;
    if (!GetVolumeInformationA(root.c_str(), volume, sizeof(volume), &serial, &maxComponent,
                               &flags, fileSystem, sizeof(fileSystem)))
        return false;
    *name = fileSystem;
    return true;
}

}  // namespace tv
