#include "platform/win32/Win32WindowsVersion.h"

#include <windows.h>

namespace tv {

bool Win32WindowsVersion::Read(WindowsVersionNumbers* version) const {
    *version = WindowsVersionNumbers{};
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
    version->platformId = info.dwPlatformId;
    version->major = info.dwMajorVersion;
    version->minor = info.dwMinorVersion;
    version->build = info.dwBuildNumber;
    return true;
}

}  // namespace tv
