// The page push button: owner-drawn and flat, with hover tracking, an
// optional icon left of its caption (or centred without one), and a face
// and border drawn by the derived class.
#pragma once

#include "platform/ui/Geometry.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"

namespace tv {

class CSmartButton : public ui::Button {
public:
    CSmartButton();

    // Shows icon resource `iconId` at its own size, in place of the
    // previous one; an icon that cannot be loaded leaves the button without
    // one. Buttons showing the same icon share one loaded copy.
    void SetIcon(int iconId);

    bool IsHover() const { return hover_; }
    bool IsDefault() const { return default_; }
    // The template's button type, recorded on attach.
    int ButtonType() const { return buttonType_; }
    bool HasIcon() const { return icon_ != nullptr; }
    int IconWidth() const { return iconWidth_; }
    int IconHeight() const { return iconHeight_; }

    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    bool OnReflectedCommand(int code) override;
    HBRUSH OnReflectedCtlColor(HDC dc, UINT message) override;

protected:
    virtual void DrawFace(HDC dc, const RECT& item) = 0;
    virtual void DrawBorder(HDC dc, const RECT& item) = 0;

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Paints the parent's pixels under the button (captured at the first
    // paint and kept until the system colours change) into `dc` at 0, 0.
    void PaintSavedBackground(HDC dc);

    // The states of the draw request being served.
    bool pressed_ = false;
    bool focused_ = false;
    bool disabled_ = false;

private:
    void CancelHover();
    void TrackHover(LPARAM point, WPARAM keys);
    void DrawCaption(HDC dc, const RECT& area, const std::string& caption) const;

    bool flat_ = true;
    bool hover_ = false;
    bool default_ = false;
    bool drawBorder_ = true;
    COLORREF hoverBackground_, hoverText_;
    COLORREF normalBackground_, normalText_;
    COLORREF focusBackground_, focusText_;
    int buttonType_ = BS_PUSHBUTTON;
    ui::Bitmap savedBackground_;
    HICON icon_ = nullptr;  // shared: never destroyed here
    int iconWidth_ = 0;
    int iconHeight_ = 0;
};

}  // namespace tv
