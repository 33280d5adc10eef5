// The primary display's colour depth: read, and changed for this session
// only (the change is not stored).
#pragma once

namespace tv {

class DisplaySettings {
public:
    virtual ~DisplaySettings() = default;
    // Bits per pixel of the current mode; false when it cannot be read.
    virtual bool CurrentBitsPerPixel(unsigned* bitsPerPixel) const = 0;
    // Switches the depth dynamically; true when the system accepted it.
    virtual bool ChangeBitsPerPixel(unsigned bitsPerPixel) = 0;
};

}  // namespace tv
