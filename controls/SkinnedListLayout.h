// The look of the owner-drawn hardware list, as numbers: where each part of
// a row goes and in which colour. The control draws exactly this.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/ui/Geometry.h"

namespace tv {

// Right and bottom exclusive, pixels.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Height() const { return bottom - top; }
    bool operator==(const Box& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

constexpr std::uint32_t kSelectionOuterPen = Rgb(236, 194, 237);
constexpr std::uint32_t kSelectionInnerPen = Rgb(250, 241, 250);
constexpr std::uint32_t kSelectionGradientTop = Rgb(246, 227, 246);
constexpr std::uint32_t kSelectionGradientBottom = Rgb(238, 202, 239);
constexpr std::uint32_t kRowSeparator = Rgb(234, 235, 234);
constexpr int kSeparatorLength = 555;
constexpr std::size_t kMaxCellTextBytes = 255;
extern const char kListFontFace[];
// The font's character set: "default" lets the face name decide, so "宋体"
// is found wherever it is installed (a face that does not claim the Western
// set would otherwise be swapped for an unrelated one).
constexpr int kListFontCharset = 1;

// The selected row's background: an outer rounded frame, one inside it and
// a vertical gradient inside that.
struct SelectionShape {
    Box outer;
    int outerCorner;  // width and height of the corner ellipse
    Box inner;
    int innerCorner;
    Box gradient;
};
// At 96 dpi unless told; the corners grow with the resolution.
SelectionShape SelectionFor(const Box& row, int dpi = 96);

// Where a cell's text goes: the cell's label box (column 0 widened 2 px to
// the left) moved down to centre a line of `lineHeight` pixels.
Box CellLabelBox(const Box& label, int column);
Box CellTextBox(const Box& labelBox, int lineHeight);
// The one-pixel separator along the top of an unselected row's cell.
Box SeparatorFor(const Box& labelBox, int dpi = 96);
// A cell's text as drawn: at most 255 bytes, never half a character.
std::string_view CellText(std::string_view text);
// A row is drawn selected when the system says so, or when it is selected
// in a list that shows its selection always (even without the focus).
bool DrawsSelected(bool drawSelected, bool itemSelected, bool showSelectionAlways);
// The height reported when the list measures its rows: the owner's fixed
// height, or nothing to keep the list's own.
std::optional<int> MeasuredRowHeight(int rowHeight);

}  // namespace tv
