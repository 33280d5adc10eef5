#include "controls/ImageButtonState.h"

namespace tv {

ButtonEffects ImageButtonState::MouseMove(bool inside, bool hasCapture) {
    ButtonEffects effects;
    if (!(tracking_ && hasCapture) && state_ == kButtonNormal) {
        // Entry: show the hover image and keep the capture to see the exit.
        tracking_ = true;
        state_ = kButtonHover;
        effects.takeCapture = true;
        effects.redraw = true;
        return effects;
    }
    if (state_ == kButtonHover && !inside) {
        state_ = kButtonNormal;
        tracking_ = false;
        effects.redraw = true;
        effects.releaseCapture = true;
    }
    // A button that is down ignores the pointer.
    return effects;
}

ButtonEffects ImageButtonState::LeftButtonDown() {
    ButtonEffects effects;
    effects.defaultProcessing = true;
    if (kind_ == ButtonKind::Hover) {
        effects.clearPushed = true;
        state_ = kButtonDown;
    }
    return effects;
}

ButtonEffects ImageButtonState::LeftButtonUp() {
    ButtonEffects effects;
    effects.defaultProcessing = true;
    if (kind_ == ButtonKind::Hover) {
        effects.setPushed = true;
        state_ = kButtonNormal;
    } else {
        effects.setPushed = true;
        effects.redraw = true;
        state_ = kButtonDown;
    }
    return effects;
}

ButtonEffects ImageButtonState::SetDown() {
    state_ = kButtonDown;
    ButtonEffects effects;
    effects.setPushed = true;
    effects.redraw = true;
    return effects;
}

ButtonEffects ImageButtonState::SetNormal() {
    state_ = kButtonNormal;
    ButtonEffects effects;
    effects.clearPushed = true;
    effects.redraw = true;
    return effects;
}

int ImageButtonState::ImageForState() const {
    if (state_ == kButtonDown) return kButtonDown;
    if (state_ == kButtonHover) return kButtonHover;
    return kButtonNormal;
}

}  // namespace tv
