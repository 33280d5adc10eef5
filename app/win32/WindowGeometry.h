// Conversions between window rectangles and the portable page layout.
#pragma once

#include <windows.h>

#include "app/PageLayout.h"
#include "platform/ui/Dpi.h"

namespace tv {

// The child's window rectangle in the parent's client coordinates.
inline PixelRect ChildRectInParent(HWND child, HWND parent) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// ContentRectFromFrame worked out on the 96-dpi figures and scaled to the
// screen, so the page meets the frame exactly as it does at 96 dpi.
inline PixelRect ScaledContentRect(const PixelRect& frame, int top96) {
    const int dpi = ui::ScreenDpi();
    const PixelRect frame96{UnscaleFromDpi(frame.left, dpi), UnscaleFromDpi(frame.top, dpi),
                            UnscaleFromDpi(frame.right, dpi), UnscaleFromDpi(frame.bottom, dpi)};
    const PixelRect content96 = ContentRectFromFrame(frame96, top96);
    const Rect scaled = ScaleEdges({content96.left, content96.top, content96.right, content96.bottom}, dpi);
    return {scaled.left, scaled.top, scaled.right, scaled.bottom};
}

inline RECT ToRect(const PixelRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace tv
