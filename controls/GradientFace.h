// What the gradient push button paints for a given state: the edge lines,
// the gradients, the focus rectangle and the rounded border, with their
// colours, and where the icon and the caption go. The window code only
// carries out this plan.
#pragma once

#include "platform/ui/Geometry.h"

namespace tv {

struct FaceState {
    bool pressed = false;
    bool focused = false;
    bool disabled = false;
    bool isDefault = false;
    bool hover = false;
};

struct FaceLine {
    int fromX, fromY, toX, toY;  // the end point itself is not drawn
    Colour colour;
};

struct FaceGradient {
    Rect area;
    Colour top;
    Colour bottom;
};

struct GradientFacePlan {
    // The two edge lines and the first gradient: enabled buttons only.
    bool drawEdges = false;
    FaceLine leftEdge{};
    FaceLine bottomEdge{};
    FaceGradient background{};
    FaceGradient ring{};
    FaceGradient inner{};
    bool drawFocus = false;
    Rect focus{};
    // Two outline rounded rectangles on the same rectangle: first the
    // border colour with 4 x 4 corners, then the corner colour with 6 x 6.
    Rect border{};
    Colour borderColour = 0;
    Colour cornerColour = 0;
};

// The face inside the item rectangle `item` for `state`.
// At `dpi` the ring and face insets grow with the resolution.
GradientFacePlan PlanGradientFace(const Rect& item, const FaceState& state, int dpi = 96);

// Where the icon and the caption of a button go.
struct ButtonContentLayout {
    bool drawIcon = false;
    int iconX = 0;
    int iconY = 0;
    Rect text{};  // the area the caption is measured in and centred in
};

ButtonContentLayout PlanButtonContent(const Rect& item, bool hasIcon, int iconWidth,
                                      int iconHeight, bool hasCaption);

// A measured caption (width x height) centred in `area`, offsets rounded
// toward zero.
Rect CentreCaption(const Rect& area, int width, int height);

}  // namespace tv
