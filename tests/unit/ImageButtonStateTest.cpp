#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "controls/ImageButtonState.h"

namespace tv {
namespace {

// One event as the window would deliver it.
enum class Event { EnterOrMove, MoveOutside, Down, Up, SetDown, SetNormal };

struct Step {
    Event event;
    bool hasCapture;  // whether the button holds the capture at that moment
    int stateAfter;
    bool takesCapture;
    bool releasesCapture;
};

struct Scenario {
    const char* name;
    ButtonKind kind;
    std::vector<Step> steps;
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

ButtonEffects Apply(ImageButtonState& button, const Step& step) {
    switch (step.event) {
    case Event::EnterOrMove: return button.MouseMove(true, step.hasCapture);
    case Event::MoveOutside: return button.MouseMove(false, step.hasCapture);
    case Event::Down: return button.LeftButtonDown();
    case Event::Up: return button.LeftButtonUp();
    case Event::SetDown: return button.SetDown();
    case Event::SetNormal: return button.SetNormal();
    }
    return {};
}

class ImageButtonScenarios : public ::testing::TestWithParam<Scenario> {};

TEST_P(ImageButtonScenarios, StateAndCaptureFollowTheMouse) {
    const Scenario& scenario = GetParam();
    ImageButtonState button(scenario.kind);
    for (size_t i = 0; i < scenario.steps.size(); ++i) {
        const Step& step = scenario.steps[i];
        ButtonEffects effects = Apply(button, step);
        EXPECT_EQ(button.State(), step.stateAfter) << "step " << i;
        EXPECT_EQ(effects.takeCapture, step.takesCapture) << "step " << i;
        EXPECT_EQ(effects.releaseCapture, step.releasesCapture) << "step " << i;
    }
}

const Scenario kScenarios[] = {
    {"HoverEntersAndLeaves", ButtonKind::Hover,
     {{Event::EnterOrMove, false, kButtonHover, true, false},
      {Event::EnterOrMove, true, kButtonHover, false, false},
      {Event::MoveOutside, true, kButtonNormal, false, true}}},
    {"HoverClickShowsPressedThenNormal", ButtonKind::Hover,
     {{Event::EnterOrMove, false, kButtonHover, true, false},
      {Event::Down, true, kButtonDown, false, false},
      // Held down: the pointer does not change the image.
      {Event::EnterOrMove, true, kButtonDown, false, false},
      {Event::Up, true, kButtonNormal, false, false},
      // The button released the capture on mouse up: hover again.
      {Event::EnterOrMove, false, kButtonHover, true, false}}},
    {"HoverLeftWithTheCaptureHeldHoversAgainOnTheNextEntry", ButtonKind::Hover,
     {{Event::EnterOrMove, false, kButtonHover, true, false},
      {Event::MoveOutside, true, kButtonNormal, false, true},
      {Event::EnterOrMove, true, kButtonHover, true, false}}},
    {"HoverReleasedWithTheCaptureStillHeldShowsNoHoverUntilItGoes", ButtonKind::Hover,
     {{Event::EnterOrMove, false, kButtonHover, true, false},
      {Event::Down, true, kButtonDown, false, false},
      {Event::Up, true, kButtonNormal, false, false},
      {Event::EnterOrMove, true, kButtonNormal, false, false}}},
    {"HoverPressDraggedOffStaysPressedUntilRelease", ButtonKind::Hover,
     {{Event::EnterOrMove, false, kButtonHover, true, false},
      {Event::Down, true, kButtonDown, false, false},
      {Event::MoveOutside, true, kButtonDown, false, false},
      {Event::Up, true, kButtonNormal, false, false}}},
    {"LatchStaysDownOnRelease", ButtonKind::Latch,
     {{Event::EnterOrMove, false, kButtonHover, true, false},
      {Event::Down, true, kButtonHover, false, false},
      {Event::Up, true, kButtonDown, false, false}}},
    {"LatchedButtonIgnoresHover", ButtonKind::Latch,
     {{Event::SetDown, false, kButtonDown, false, false},
      {Event::EnterOrMove, false, kButtonDown, false, false},
      {Event::MoveOutside, false, kButtonDown, false, false},
      {Event::EnterOrMove, true, kButtonDown, false, false}}},
    {"SecondClickOnLatchedButtonKeepsItDown", ButtonKind::Latch,
     {{Event::SetDown, false, kButtonDown, false, false},
      {Event::Down, false, kButtonDown, false, false},
      {Event::Up, true, kButtonDown, false, false}}},
    {"LatchPressDraggedOffLosesTheCapture", ButtonKind::Latch,
     // Leaving while pressed releases the capture, so the release happens
     // elsewhere and the button never latches.
     {{Event::EnterOrMove, false, kButtonHover, true, false},
      {Event::Down, true, kButtonHover, false, false},
      {Event::MoveOutside, true, kButtonNormal, false, true}}},
    {"OwnerReleasesLatchedButton", ButtonKind::Latch,
     {{Event::SetDown, false, kButtonDown, false, false},
      {Event::SetNormal, false, kButtonNormal, false, false},
      {Event::EnterOrMove, false, kButtonHover, true, false}}},
};

INSTANTIATE_TEST_SUITE_P(All, ImageButtonScenarios, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImageButtonState, ClickReportsOnlyThroughDefaultProcessing) {
    for (ButtonKind kind : {ButtonKind::Hover, ButtonKind::Latch}) {
        ImageButtonState button(kind);
        EXPECT_TRUE(button.LeftButtonUp().defaultProcessing);
        EXPECT_TRUE(button.LeftButtonDown().defaultProcessing);
        EXPECT_FALSE(button.MouseMove(true, false).defaultProcessing);
    }
}

TEST(ImageButtonState, PushedLookFollowsOwnerCalls) {
    ImageButtonState button(ButtonKind::Latch);
    ButtonEffects down = button.SetDown();
    EXPECT_TRUE(down.setPushed);
    EXPECT_FALSE(down.clearPushed);
    EXPECT_TRUE(down.redraw);
    ButtonEffects normal = button.SetNormal();
    EXPECT_TRUE(normal.clearPushed);
    EXPECT_FALSE(normal.setPushed);
    EXPECT_TRUE(normal.redraw);
    // Pressing a caption button first clears the pushed look.
    ImageButtonState caption(ButtonKind::Hover);
    EXPECT_TRUE(caption.LeftButtonDown().clearPushed);
    EXPECT_TRUE(caption.LeftButtonUp().setPushed);
    // A released tab button stays pushed, redrawn.
    ButtonEffects released = ImageButtonState(ButtonKind::Latch).LeftButtonUp();
    EXPECT_TRUE(released.setPushed);
    EXPECT_TRUE(released.redraw);
}

TEST(ImageButtonState, ImageFollowsState) {
    ImageButtonState button(ButtonKind::Latch);
    EXPECT_EQ(button.ImageForState(), kButtonNormal);
    button.MouseMove(true, false);
    EXPECT_EQ(button.ImageForState(), kButtonHover);
    button.SetDown();
    EXPECT_EQ(button.ImageForState(), kButtonDown);
}

}  // namespace
}  // namespace tv
