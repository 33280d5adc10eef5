#include "controls/SkinnedListLayout.h"

#include "platform/ui/DpiScale.h"
#include "platform/CodePageText.h"

namespace tv {

const char kListFontFace[] = "宋体";

namespace {
Box Shrink(const Box& b, int by) { return {b.left + by, b.top + by, b.right - by, b.bottom - by}; }
}  // namespace

SelectionShape SelectionFor(const Box& row, int dpi) {
    return {row, ScaleToDpi(5, dpi), Shrink(row, 1), ScaleToDpi(2, dpi), Shrink(row, 2)};
}

Box CellLabelBox(const Box& label, int column) {
    Box box = label;
    if (column == 0) box.left -= 2;
    return box;
}

Box CellTextBox(const Box& labelBox, int lineHeight) {
    const int down = (labelBox.Height() - lineHeight) / 2;
    return {labelBox.left, labelBox.top + down, labelBox.right, labelBox.bottom + down};
}

Box SeparatorFor(const Box& labelBox, int dpi) {
    return {0, labelBox.top, ScaleToDpi(kSeparatorLength, dpi), labelBox.top + 1};
}

std::string_view CellText(std::string_view text) { return text::CutToBytes(text, kMaxCellTextBytes); }

bool DrawsSelected(bool drawSelected, bool itemSelected, bool showSelectionAlways) {
    return drawSelected || (itemSelected && showSelectionAlways);
}

std::optional<int> MeasuredRowHeight(int rowHeight) {
    if (rowHeight > 0) return rowHeight;
    return std::nullopt;
}

}  // namespace tv
