// Where the rounded group box puts its outline, band line and caption.
#include <gtest/gtest.h>

#include "controls/GroupBoxLayout.h"

namespace tv {
namespace {

const Rect kClient{0, 0, 200, 50};  // drawn inside 1, 1, 199, 49

struct LayoutCase {
    const char* name;
    int style;
    int alignment;
    int width, height;
    Rect outline;
    bool body;
    Rect bodyRect;
    Rect caption;
};

TEST(GroupBoxLayout, BothLooksAndEveryAlignment) {
    const LayoutCase cases[] = {
        {"window, empty caption: band line 4 below the top", kGroupBoxWindow, kAlignLeft, 0, 0,
         {1, 1, 199, 49}, true, {1, 5, 199, 49}, {3, 3, 3, 3}},
        {"window left", kGroupBoxWindow, kAlignLeft, 60, 12, {1, 1, 199, 49}, true,
         {1, 17, 199, 49}, {3, 3, 63, 15}},
        {"window centre", kGroupBoxWindow, kAlignCentre, 60, 12, {1, 1, 199, 49}, true,
         {1, 17, 199, 49}, {70, 3, 130, 15}},
        {"window right", kGroupBoxWindow, kAlignRight, 60, 12, {1, 1, 199, 49}, true,
         {1, 17, 199, 49}, {137, 3, 197, 15}},
        {"window, unknown alignment is left", kGroupBoxWindow, 7, 60, 12, {1, 1, 199, 49}, true,
         {1, 17, 199, 49}, {3, 3, 63, 15}},
        {"frame left", kGroupBoxFrame, kAlignLeft, 60, 12, {1, 7, 199, 49}, false, {},
         {11, 1, 71, 13}},
        {"frame centre", kGroupBoxFrame, kAlignCentre, 60, 12, {1, 7, 199, 49}, false, {},
         {70, 1, 130, 13}},
        {"frame right", kGroupBoxFrame, kAlignRight, 60, 12, {1, 7, 199, 49}, false, {},
         {129, 1, 189, 13}},
        {"frame, odd height halves toward zero", kGroupBoxFrame, kAlignLeft, 10, 13,
         {1, 7, 199, 49}, false, {}, {11, 1, 21, 14}},
    };
    for (const auto& c : cases) {
        GroupBoxLayout layout = PlanGroupBox(kClient, c.style, c.alignment, c.width, c.height);
        EXPECT_EQ(layout.outline, c.outline) << c.name;
        EXPECT_EQ(layout.drawBody, c.body) << c.name;
        if (c.body) {
            EXPECT_EQ(layout.body, c.bodyRect) << c.name;
        }
        EXPECT_EQ(layout.caption, c.caption) << c.name;
    }
}

TEST(GroupBoxLayout, CaptionGetsOneBlankEachSide) {
    EXPECT_EQ(GroupBoxCaption("\xCA\xD7\xB4\xCE\xCA\xB9\xD3\xC3"), " \xCA\xD7\xB4\xCE\xCA\xB9\xD3\xC3 ");
    EXPECT_EQ(GroupBoxCaption(""), "");
    EXPECT_EQ(GroupBoxCaption(" a"), "  a ");
}

TEST(GroupBoxLayout, AlignmentValues) {
    EXPECT_EQ(NormalizeGroupBoxAlignment(0), kAlignLeft);
    EXPECT_EQ(NormalizeGroupBoxAlignment(1), kAlignCentre);
    EXPECT_EQ(NormalizeGroupBoxAlignment(2), kAlignRight);
    EXPECT_EQ(NormalizeGroupBoxAlignment(3), kAlignLeft);
    EXPECT_EQ(NormalizeGroupBoxAlignment(-1), kAlignLeft);
}

}  // namespace
}  // namespace tv
