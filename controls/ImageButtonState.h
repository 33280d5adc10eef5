// The state of an image button (hover, press, latch) and what each mouse
// event does to it, kept apart from the window so every transition can be
// driven without a display.
#pragma once

namespace tv {

constexpr int kButtonNormal = 0;
constexpr int kButtonDown = 1;
constexpr int kButtonHover = 2;

enum class ButtonKind {
    Hover,  // back to normal after the click (caption buttons)
    Latch,  // stays down after the click until its owner releases it
};

// What the window has to do after an event. Window effects happen in the
// order the fields are listed.
struct ButtonEffects {
    bool setPushed = false;    // BM_SETSTATE TRUE (with enable)
    bool clearPushed = false;  // BM_SETSTATE FALSE (with enable)
    bool takeCapture = false;
    bool redraw = false;       // invalidate with erase (and repaint now for hover changes)
    bool releaseCapture = false;
    bool defaultProcessing = false;  // pass the message on to the button
};

class ImageButtonState {
public:
    explicit ImageButtonState(ButtonKind kind) : kind_(kind) {}

    int State() const { return state_; }
    bool Tracking() const { return tracking_; }
    ButtonKind Kind() const { return kind_; }

    // WM_MOUSEMOVE. `inside`: the point lies in the client rectangle;
    // `hasCapture`: this button holds the mouse capture.
    ButtonEffects MouseMove(bool inside, bool hasCapture);
    ButtonEffects LeftButtonDown();
    ButtonEffects LeftButtonUp();
    // The owner's selection calls.
    ButtonEffects SetDown();
    ButtonEffects SetNormal();

    // Which image to draw: kButtonDown, kButtonHover, or kButtonNormal for
    // any other state value.
    int ImageForState() const;

private:
    ButtonKind kind_;
    bool tracking_ = false;
    int state_ = kButtonNormal;
};

}  // namespace tv
