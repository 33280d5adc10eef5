// The running Windows version, as far as the tweaks need it: which family
// and which major release.
#pragma once

namespace tv {

// Platform ids, with the Win32 VER_PLATFORM_* values.
constexpr unsigned long kPlatformWindows9x = 1;
constexpr unsigned long kPlatformWindowsNt = 2;

struct WindowsVersionNumbers {
    unsigned long platformId = 0;
    unsigned long major = 0;
    unsigned long minor = 0;
    unsigned long build = 0;
};

class WindowsVersion {
public:
    virtual ~WindowsVersion() = default;
    // GetVersionEx; false (and zeros) when it fails.
    virtual bool Read(WindowsVersionNumbers* version) const = 0;
};

}  // namespace tv
