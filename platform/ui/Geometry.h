// Rectangles and colours in the platform's layout (a colour is 0x00BBGGRR),
// so the drawing rules of the skinned controls can be worked out and checked
// without a display.
#pragma once

#include <cstdint>

namespace tv {

using Colour = std::uint32_t;

constexpr Colour Rgb(int red, int green, int blue) {
    return static_cast<Colour>(red & 0xFF) | (static_cast<Colour>(green & 0xFF) << 8) |
           (static_cast<Colour>(blue & 0xFF) << 16);
}

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    Rect Shrunk(int by) const { return {left + by, top + by, right - by, bottom - by}; }
    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
    bool operator!=(const Rect& other) const { return !(*this == other); }
};

}  // namespace tv
