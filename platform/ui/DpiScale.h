// Everything on screen is laid out for 96 dots per inch. At any other
// resolution every figure is multiplied by dpi / 96, as the system does with
// the dialog font, so the whole window grows as one picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/ui/Geometry.h"

namespace tv {

constexpr int kBaseDpi = 96;
// The resolutions the artwork is drawn for (100%, 125%, 150%).
constexpr int kArtDpis[] = {96, 120, 144};

// A 96-dpi figure at `dpi`, rounded to the nearest pixel (halves away from
// zero, as MulDiv rounds).
int ScaleToDpi(int pixels96, int dpi);
// The inverse: the 96-dpi figure a scaled one came from. Exact for every
// figure ScaleToDpi made at dpi >= 96.
int UnscaleFromDpi(int pixels, int dpi);

// Scales the four edges: rectangles that touch at 96 dpi still touch, with
// no gap and no overlap.
Rect ScaleEdges(const Rect& rect96, int dpi);
// Scales the corner and the size: a picture drawn at the scaled size fills
// the result exactly.
Rect ScaleSized(const Rect& rect96, int dpi);

// The artwork set to use at `dpi`: the nearest of kArtDpis (the larger one
// on a tie, so that art is shrunk rather than blown up).
int NearestArtDpi(int dpi);
// The resource id of artwork `id96` in the set drawn for `artDpi`.
int ArtResourceId(int id96, int artDpi);

// A control of a dialog template, in dialog units.
struct DialogItem {
    std::uint32_t style = 0;
    int id = 0;  // 16 bits: -1 (0xFFFF) for statics without one
    int x = 0, y = 0, cx = 0, cy = 0;
    int classOrdinal = 0;  // 0x80 button, 0x82 static, ...; 0 when named
    int imageId = 0;       // the title's resource ordinal, 0 when a text
};

struct DialogTemplateInfo {
    bool valid = false;
    std::uint32_t style = 0;
    int cx = 0, cy = 0;
    std::vector<DialogItem> items;
};

// Reads a DIALOG or DIALOGEX template as the resource compiler stores it.
DialogTemplateInfo ParseDialogTemplate(const std::uint8_t* data, std::size_t size);

// The pixels a template rectangle covers at 96 dpi with the program's
// dialog font ("宋体" 9 point: base units 6 x 12), computed as the dialog
// manager does (each of x, y, width and height on its own).
Rect DialogUnitsAt96(int x, int y, int cx, int cy);

}  // namespace tv
