// DisplaySettings over EnumDisplaySettings / ChangeDisplaySettings.
#pragma once

#include "platform/DisplaySettings.h"

namespace tv {

class Win32DisplaySettings : public DisplaySettings {
public:
    bool CurrentBitsPerPixel(unsigned* bitsPerPixel) const override;
    bool ChangeBitsPerPixel(unsigned bitsPerPixel) override;
};

}  // namespace tv
