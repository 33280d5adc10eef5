#include "controls/GradientFace.h"

#include "platform/ui/DpiScale.h"

namespace tv {

namespace {

struct FaceRule {
    Colour ringTop, ringBottom;
    bool keepsInner;
    Colour innerTop, innerBottom;
};

const FaceRule kFocusOrDefault{Rgb(206, 231, 255), Rgb(105, 130, 238), true, 0, 0};
const FaceRule kHover{Rgb(255, 240, 207), Rgb(229, 151, 0), true, 0, 0};
const FaceRule kPressed{Rgb(209, 204, 193), Rgb(242, 241, 238), false, Rgb(229, 228, 221),
                        Rgb(226, 226, 218)};
const FaceRule kDisabled{Rgb(245, 244, 234), Rgb(245, 244, 234), false, Rgb(245, 244, 234),
                         Rgb(245, 244, 234)};

}  // namespace

GradientFacePlan PlanGradientFace(const Rect& r, const FaceState& state, int dpi) {
    GradientFacePlan plan;
    const int two = ScaleToDpi(2, dpi), four = ScaleToDpi(4, dpi);
    const bool enabled = !state.disabled;
    plan.drawEdges = enabled;
    plan.leftEdge = {r.left, r.top + 1, r.left, r.bottom - 1, Rgb(226, 222, 203)};
    plan.bottomEdge = {r.left + 2, r.bottom - 1, r.right - 1, r.bottom - 1, Rgb(248, 247, 242)};
    plan.background = {{r.left + 1, r.top, r.right, r.bottom - 1},
                       Rgb(220, 214, 194),
                       Rgb(245, 244, 235)};

    Colour ringTop = Rgb(255, 255, 255), ringBottom = Rgb(226, 223, 214);
    Colour innerTop = Rgb(252, 252, 251), innerBottom = Rgb(236, 235, 230);
    Rect inner = r;
    // Later rules win; each one also narrows the inner face from the left.
    const struct {
        bool applies;
        const FaceRule* rule;
    } rules[] = {{state.focused || state.isDefault, &kFocusOrDefault},
                 {state.hover, &kHover},
                 {state.pressed, &kPressed},
                 {state.disabled, &kDisabled}};
    for (const auto& entry : rules) {
        if (!entry.applies) continue;
        ringTop = entry.rule->ringTop;
        ringBottom = entry.rule->ringBottom;
        if (!entry.rule->keepsInner) {
            innerTop = entry.rule->innerTop;
            innerBottom = entry.rule->innerBottom;
        }
        inner.left += two;
    }
    plan.ring = {{r.left + two, r.top + two, r.right - two, r.bottom - two}, ringTop, ringBottom};
    plan.inner = {{inner.left + two, inner.top + four, inner.right - four, inner.bottom - four},
                  innerTop,
                  innerBottom};

    plan.drawFocus = state.focused;
    plan.focus = r.Shrunk(ScaleToDpi(3, dpi));
    plan.border = r.Shrunk(1);
    plan.borderColour = enabled ? Rgb(122, 149, 168) : Rgb(216, 213, 199);
    plan.cornerColour = enabled ? Rgb(0, 60, 116) : Rgb(201, 199, 186);
    return plan;
}

ButtonContentLayout PlanButtonContent(const Rect& item, bool hasIcon, int iconWidth,
                                      int iconHeight, bool hasCaption) {
    ButtonContentLayout layout;
    layout.text = item;
    if (!hasIcon) return layout;
    layout.drawIcon = true;
    if (hasCaption) {
        layout.iconX = item.left + 3;
        layout.text.left += iconWidth + 3;
    } else {
        layout.iconX = item.left + (item.Width() - iconWidth) / 2;
    }
    layout.iconY = item.top + (item.Height() - iconHeight) / 2;
    return layout;
}

Rect CentreCaption(const Rect& area, int width, int height) {
    int left = area.left + (area.Width() - width) / 2;
    int top = area.top + (area.Height() - height) / 2;
    return {left, top, left + width, top + height};
}

}  // namespace tv
