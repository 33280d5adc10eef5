// A display whose depth a test chooses; changes are recorded.
#pragma once

#include <vector>

#include "platform/DisplaySettings.h"

namespace tv {

class FakeDisplaySettings : public DisplaySettings {
public:
    unsigned bitsPerPixel = 32;
    bool readable = true;
    bool acceptChanges = true;
    std::vector<unsigned> changes;

    bool CurrentBitsPerPixel(unsigned* bits) const override {
        if (!readable) return false;
        *bits = bitsPerPixel;
        return true;
    }
    bool ChangeBitsPerPixel(unsigned bits) override {
        changes.push_back(bits);
        if (acceptChanges) bitsPerPixel = bits;
        return acceptChanges;
    }
};

}  // namespace tv
