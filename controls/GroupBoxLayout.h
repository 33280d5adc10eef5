// Where the rounded group box draws its outline, body and caption, for
// both looks and the three alignments.
#pragma once

#include <string>

#include "platform/ui/Geometry.h"

namespace tv {

enum GroupBoxStyle { kGroupBoxFrame = 0, kGroupBoxWindow = 1 };
enum GroupBoxAlignment { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

// 1 centre, 2 right, anything else left.
int NormalizeGroupBoxAlignment(int alignment);

// The caption as drawn: one blank on each side; empty stays empty.
std::string GroupBoxCaption(const std::string& text);

struct GroupBoxLayout {
    // Window look: the filled rounded outline (10 x 10 corners) and the
    // body rectangle whose top edge is the line under the caption band.
    // Frame look: `outline` is the unfilled rounded outline; no body.
    Rect outline{};
    bool drawBody = false;
    Rect body{};
    Rect caption{};
};

// `client` is the control's client rectangle; the caption measures
// `width` x `height` (0 x 0 when empty).
GroupBoxLayout PlanGroupBox(const Rect& client, int style, int alignment, int width,
                            int height);

}  // namespace tv
