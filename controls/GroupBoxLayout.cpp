#include "controls/GroupBoxLayout.h"

namespace tv {

int NormalizeGroupBoxAlignment(int alignment) {
    return alignment == kAlignCentre || alignment == kAlignRight ? alignment : kAlignLeft;
}

std::string GroupBoxCaption(const std::string& text) {
    return text.empty() ? std::string() : " " + text + " ";
}

GroupBoxLayout PlanGroupBox(const Rect& client, int style, int alignment, int width,
                            int height) {
    const Rect r = client.Shrunk(1);
    alignment = NormalizeGroupBoxAlignment(alignment);
    GroupBoxLayout layout;
    if (style == kGroupBoxWindow) {
        layout.outline = r;
        layout.drawBody = true;
        layout.body = {r.left, r.top + height + 4, r.right, r.bottom};
        int top = r.top + 2;
        int left = r.left + 2;
        if (alignment == kAlignCentre) left = r.left + (r.Width() - width) / 2;
        else if (alignment == kAlignRight) left = r.right - 2 - width;
        layout.caption = {left, top, left + width, top + height};
    } else {
        layout.outline = {r.left, r.top + height / 2, r.right, r.bottom};
        int left = r.left + 10;
        if (alignment == kAlignCentre) left = r.left + (r.Width() - width) / 2;
        else if (alignment == kAlignRight) left = r.right - 10 - width;
        layout.caption = {left, r.top, left + width, r.top + height};
    }
    return layout;
}

}  // namespace tv
