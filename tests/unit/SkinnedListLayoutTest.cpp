// Where the hardware list draws each part of a row, and in which colour.
#include <gtest/gtest.h>

#include "controls/SkinnedListLayout.h"

namespace tv {
namespace {

TEST(SkinnedListLayout, SelectionIsTwoFramesAndAGradientEachOnePixelInside) {
    const SelectionShape s = SelectionFor({0, 50, 615, 100});
    EXPECT_EQ(s.outer, (Box{0, 50, 615, 100}));
    EXPECT_EQ(s.outerCorner, 5);
    EXPECT_EQ(s.inner, (Box{1, 51, 614, 99}));
    EXPECT_EQ(s.innerCorner, 2);
    EXPECT_EQ(s.gradient, (Box{2, 52, 613, 98}));
    EXPECT_EQ(kSelectionOuterPen, 0xEDC2ECu);  // RGB(236, 194, 237) as 0x00BBGGRR
    EXPECT_EQ(kSelectionInnerPen, Rgb(250, 241, 250));
    EXPECT_EQ(kSelectionGradientTop, Rgb(246, 227, 246));
    EXPECT_EQ(kSelectionGradientBottom, Rgb(238, 202, 239));
}

TEST(SkinnedListLayout, CellsAndSeparator) {
    struct Case {
        Box label;
        int column;
        int lineHeight;
        Box cell;
        Box text;
    } cases[] = {
        {{6, 0, 55, 50}, 0, 13, {4, 0, 55, 50}, {4, 18, 55, 68}},
        {{61, 50, 615, 100}, 1, 13, {61, 50, 615, 100}, {61, 68, 615, 118}},
        {{61, 50, 615, 100}, 2, 16, {61, 50, 615, 100}, {61, 67, 615, 117}},
        {{0, 0, 55, 10}, 0, 20, {-2, 0, 55, 10}, {-2, -5, 55, 5}},  // taller line: moves up
    };
    for (const Case& c : cases) {
        const Box cell = CellLabelBox(c.label, c.column);
        EXPECT_EQ(cell, c.cell) << c.column;
        EXPECT_EQ(CellTextBox(cell, c.lineHeight), c.text) << c.column;
        EXPECT_EQ(SeparatorFor(cell), (Box{0, c.cell.top, 555, c.cell.top + 1}));
    }
    EXPECT_EQ(kRowSeparator, Rgb(234, 235, 234));
    EXPECT_EQ(std::string(kListFontFace), "宋体");
}

TEST(SkinnedListLayout, CellTextIsCutTo255BytesOnACharacterBoundary) {
    const std::string ascii(300, 'a');
    EXPECT_EQ(CellText(ascii).size(), 255u);
    EXPECT_EQ(CellText("short"), "short");
    EXPECT_EQ(CellText(std::string(255, 'b')).size(), 255u);
    // 254 ASCII bytes then a double-byte character: it does not fit whole.
    const std::string mixed = std::string(254, 'c') + "\xD6\xD0" + "tail";
    EXPECT_EQ(CellText(mixed), std::string(254, 'c'));
    std::string pairs;
    for (int i = 0; i < 150; ++i) pairs += "\xD6\xD0";
    EXPECT_EQ(CellText(pairs).size(), 254u);
}

TEST(SkinnedListLayout, SelectionAndRowHeightDecisions) {
    EXPECT_TRUE(DrawsSelected(true, true, false));
    EXPECT_TRUE(DrawsSelected(false, true, true));
    EXPECT_FALSE(DrawsSelected(false, true, false));
    EXPECT_FALSE(DrawsSelected(false, false, true));
    EXPECT_EQ(MeasuredRowHeight(50), 50);
    EXPECT_EQ(MeasuredRowHeight(1), 1);
    EXPECT_EQ(MeasuredRowHeight(0), std::nullopt);
    EXPECT_EQ(MeasuredRowHeight(-3), std::nullopt);
}

}  // namespace
}  // namespace tv
