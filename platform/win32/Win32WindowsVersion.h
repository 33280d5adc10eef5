// WindowsVersion over GetVersionEx.
#pragma once

#include "platform/WindowsVersion.h"

namespace tv {

class Win32WindowsVersion : public WindowsVersion {
public:
    bool Read(WindowsVersionNumbers* version) const override;
};

}  // namespace tv
