// The gradient push button's face for every combination of states, and
// where its icon and caption go.
#include <gtest/gtest.h>

#include "controls/GradientFace.h"

namespace tv {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kPlainRingBottom = Rgb(226, 223, 214);
constexpr Colour kPlainInnerTop = Rgb(252, 252, 251);
constexpr Colour kPlainInnerBottom = Rgb(236, 235, 230);
constexpr Colour kFocusTop = Rgb(206, 231, 255), kFocusBottom = Rgb(105, 130, 238);
constexpr Colour kHoverTop = Rgb(255, 240, 207), kHoverBottom = Rgb(229, 151, 0);
constexpr Colour kPressedTop = Rgb(209, 204, 193), kPressedBottom = Rgb(242, 241, 238);
constexpr Colour kPressedInnerTop = Rgb(229, 228, 221), kPressedInnerBottom = Rgb(226, 226, 218);
constexpr Colour kDisabled = Rgb(245, 244, 234);

const Rect kItem{0, 0, 121, 33};

TEST(GradientFace, RgbMatchesThePlatformColourLayout) {
    EXPECT_EQ(Rgb(0x12, 0x34, 0x56), 0x00563412u);
}

struct FaceCase {
    const char* name;
    FaceState state;
    Colour ringTop, ringBottom, innerTop, innerBottom;
    int innerLeft;  // of the inner gradient
    bool edges;
    bool focus;
};

class GradientFaceRules : public ::testing::TestWithParam<FaceCase> {};

TEST_P(GradientFaceRules, ChoosesRingInnerAndEdges) {
    const FaceCase& c = GetParam();
    GradientFacePlan plan = PlanGradientFace(kItem, c.state);
    EXPECT_EQ(plan.ring.top, c.ringTop);
    EXPECT_EQ(plan.ring.bottom, c.ringBottom);
    EXPECT_EQ(plan.inner.top, c.innerTop);
    EXPECT_EQ(plan.inner.bottom, c.innerBottom);
    EXPECT_EQ(plan.inner.area, (Rect{c.innerLeft, 4, 117, 29}));
    EXPECT_EQ(plan.ring.area, (Rect{2, 2, 119, 31}));
    EXPECT_EQ(plan.drawEdges, c.edges);
    EXPECT_EQ(plan.drawFocus, c.focus);
    EXPECT_EQ(plan.borderColour, c.state.disabled ? Rgb(216, 213, 199) : Rgb(122, 149, 168));
    EXPECT_EQ(plan.cornerColour, c.state.disabled ? Rgb(201, 199, 186) : Rgb(0, 60, 116));
}

FaceState State(bool pressed, bool focused, bool disabled, bool isDefault, bool hover) {
    FaceState s;
    s.pressed = pressed;
    s.focused = focused;
    s.disabled = disabled;
    s.isDefault = isDefault;
    s.hover = hover;
    return s;
}

// pressed, focused, disabled, default, hover
INSTANTIATE_TEST_SUITE_P(
    States, GradientFaceRules,
    ::testing::Values(
        FaceCase{"Plain", State(0, 0, 0, 0, 0), kWhite, kPlainRingBottom, kPlainInnerTop,
                 kPlainInnerBottom, 2, true, false},
        FaceCase{"Focused", State(0, 1, 0, 0, 0), kFocusTop, kFocusBottom, kPlainInnerTop,
                 kPlainInnerBottom, 4, true, true},
        FaceCase{"Default", State(0, 0, 0, 1, 0), kFocusTop, kFocusBottom, kPlainInnerTop,
                 kPlainInnerBottom, 4, true, false},
        // Focused and default are one rule: the inner face moves only once.
        FaceCase{"FocusedDefault", State(0, 1, 0, 1, 0), kFocusTop, kFocusBottom, kPlainInnerTop,
                 kPlainInnerBottom, 4, true, true},
        FaceCase{"Hover", State(0, 0, 0, 0, 1), kHoverTop, kHoverBottom, kPlainInnerTop,
                 kPlainInnerBottom, 4, true, false},
        FaceCase{"HoverOverFocus", State(0, 1, 0, 0, 1), kHoverTop, kHoverBottom,
                 kPlainInnerTop, kPlainInnerBottom, 6, true, true},
        FaceCase{"HoverOverDefault", State(0, 0, 0, 1, 1), kHoverTop, kHoverBottom,
                 kPlainInnerTop, kPlainInnerBottom, 6, true, false},
        FaceCase{"Pressed", State(1, 0, 0, 0, 0), kPressedTop, kPressedBottom, kPressedInnerTop,
                 kPressedInnerBottom, 4, true, false},
        FaceCase{"PressedFocusedHover", State(1, 1, 0, 0, 1), kPressedTop, kPressedBottom,
                 kPressedInnerTop, kPressedInnerBottom, 8, true, true},
        FaceCase{"Disabled", State(0, 0, 1, 0, 0), kDisabled, kDisabled, kDisabled, kDisabled,
                 4, false, false},
        FaceCase{"DisabledDefault", State(0, 0, 1, 1, 0), kDisabled, kDisabled, kDisabled,
                 kDisabled, 6, false, false},
        FaceCase{"DisabledEverything", State(1, 1, 1, 1, 1), kDisabled, kDisabled, kDisabled,
                 kDisabled, 10, false, true}),
    [](const ::testing::TestParamInfo<FaceCase>& info) { return std::string(info.param.name); });

TEST(GradientFace, EdgesBackgroundFocusAndBorderGeometry) {
    Rect item{10, 20, 110, 50};
    GradientFacePlan plan = PlanGradientFace(item, State(0, 1, 0, 0, 0));
    EXPECT_EQ(plan.leftEdge.fromX, 10);
    EXPECT_EQ(plan.leftEdge.fromY, 21);
    EXPECT_EQ(plan.leftEdge.toX, 10);
    EXPECT_EQ(plan.leftEdge.toY, 49);
    EXPECT_EQ(plan.leftEdge.colour, Rgb(226, 222, 203));
    EXPECT_EQ(plan.bottomEdge.fromX, 12);
    EXPECT_EQ(plan.bottomEdge.fromY, 49);
    EXPECT_EQ(plan.bottomEdge.toX, 109);
    EXPECT_EQ(plan.bottomEdge.toY, 49);
    EXPECT_EQ(plan.bottomEdge.colour, Rgb(248, 247, 242));
    EXPECT_EQ(plan.background.area, (Rect{11, 20, 110, 49}));
    EXPECT_EQ(plan.background.top, Rgb(220, 214, 194));
    EXPECT_EQ(plan.background.bottom, Rgb(245, 244, 235));
    EXPECT_EQ(plan.ring.area, (Rect{12, 22, 108, 48}));
    EXPECT_EQ(plan.inner.area, (Rect{14, 24, 106, 46}));
    EXPECT_EQ(plan.focus, (Rect{13, 23, 107, 47}));
    EXPECT_EQ(plan.border, (Rect{11, 21, 109, 49}));
}

struct ContentCase {
    const char* name;
    bool icon;
    bool caption;
    bool drawIcon;
    int iconX, iconY;
    Rect text;
};

TEST(GradientFace, IconAndCaptionPlacement) {
    const Rect item{0, 0, 121, 33};
    const ContentCase cases[] = {
        {"no icon", false, true, false, 0, 0, item},
        {"icon and caption", true, true, true, 3, 8, {19, 0, 121, 33}},
        {"icon alone is centred", true, false, true, 52, 8, item},
    };
    for (const auto& c : cases) {
        ButtonContentLayout layout = PlanButtonContent(item, c.icon, 16, 16, c.caption);
        EXPECT_EQ(layout.drawIcon, c.drawIcon) << c.name;
        if (c.drawIcon) {
            EXPECT_EQ(layout.iconX, c.iconX) << c.name;
            EXPECT_EQ(layout.iconY, c.iconY) << c.name;
        }
        EXPECT_EQ(layout.text, c.text) << c.name;
    }
}

TEST(GradientFace, CaptionCentredWithOffsetsRoundedTowardZero) {
    EXPECT_EQ(CentreCaption({19, 0, 121, 33}, 48, 12), (Rect{46, 10, 94, 22}));
    EXPECT_EQ(CentreCaption({0, 0, 10, 10}, 3, 3), (Rect{3, 3, 6, 6}));
    // A caption wider than its area: the negative offset rounds toward zero.
    EXPECT_EQ(CentreCaption({0, 0, 10, 10}, 13, 13), (Rect{-1, -1, 12, 12}));
}

}  // namespace
}  // namespace tv
