// Where pages are placed inside their parent's content frame.
#pragma once

#include "platform/ui/Geometry.h"

namespace tv {

using PixelRect = Rect;

// Page tops in client pixels: the main window's pages and the management
// container's sub-pages.
constexpr int kSectionPageTop = 130;
constexpr int kSubPageTop = 36;

// The frame's rectangle (parent client coordinates) with its top set to
// `top` and its right and bottom pulled in by 2 pixels; the left stays.
PixelRect ContentRectFromFrame(const PixelRect& frame, int top);

}  // namespace tv
