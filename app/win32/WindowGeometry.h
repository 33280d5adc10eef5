// Conversions between window rectangles and the portable page layout.
#pragma once

#include <windows.h>

#include "app/PageLayout.h"

namespace tv {

// The child's window rectangle in the parent's client coordinates.
inline PixelRect ChildRectInParent(HWND child, HWND parent) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

inline RECT ToRect(const PixelRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace tv
