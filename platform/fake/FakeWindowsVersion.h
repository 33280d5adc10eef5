// A Windows version a test chooses (Windows 7 unless told otherwise).
#pragma once

#include "platform/WindowsVersion.h"

namespace tv {

class FakeWindowsVersion : public WindowsVersion {
public:
    WindowsVersionNumbers version{kPlatformWindowsNt, 6, 1, 7601};
    bool readable = true;

    bool Read(WindowsVersionNumbers* out) const override {
        if (!readable) {
            *out = WindowsVersionNumbers{};
            return false;
        }
        *out = version;
        return true;
    }
};

}  // namespace tv
