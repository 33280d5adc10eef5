// The owner-drawn button whose whole face is one of three bitmaps (normal,
// down, hover), with hover tracking through the mouse capture. The two
// concrete kinds differ only in what a click does to the state.
#pragma once

#include "controls/ImageButtonState.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"

namespace tv {

class CSkinBitmapButton : public ui::Button {
public:
    // Takes the images by resource id; zero down/hover ids are skipped.
    // False when one is missing (that image then stays empty). The normal
    // image is loaded now, the others when first drawn: most buttons are
    // never pressed or pointed at before the window shows.
    bool LoadImages(int normalId, int downId, int hoverId);
    void SetDown();
    void SetNormal();
    int State() const { return state_.State(); }
    bool Tracking() const { return state_.Tracking(); }

    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    explicit CSkinBitmapButton(ButtonKind kind) : state_(kind) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT Apply(const ButtonEffects& effects, UINT message, WPARAM wParam, LPARAM lParam);
    // The image of a state, loaded on first use.
    const ui::Bitmap& ImageFor(int state);

    ImageButtonState state_;
    ui::Bitmap down_;
    ui::Bitmap hover_;
    ui::Bitmap normal_;
    // Resource ids of the images not loaded yet (0: none to load).
    int downId_ = 0;
    int hoverId_ = 0;
};

// Close, minimize and web-site buttons: pressed while held, then normal.
class CHoverBitmapButton : public CSkinBitmapButton {
public:
    CHoverBitmapButton() : CSkinBitmapButton(ButtonKind::Hover) {}
};

// Section and tab buttons: latch down on release until the owner calls
// SetNormal.
class CLatchBitmapButton : public CSkinBitmapButton {
public:
    CLatchBitmapButton() : CSkinBitmapButton(ButtonKind::Latch) {}
};

}  // namespace tv
