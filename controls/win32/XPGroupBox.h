// The rounded group box: a white-able rounded panel with its caption in a
// band at the top (window look) or on the outline (frame look). Every
// setter repaints the box and the parent behind it and returns the box, so
// calls can be chained.
#pragma once

#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"

namespace tv {

class CXPGroupBox : public ui::Button {
public:
    CXPGroupBox();

    virtual CXPGroupBox& SetBorderColor(COLORREF colour);
    virtual CXPGroupBox& SetCaptionTextColor(COLORREF colour);
    virtual CXPGroupBox& SetBackgroundColor(COLORREF caption, COLORREF client);
    virtual CXPGroupBox& SetBackgroundColor(COLORREF colour);
    // 0: frame (caption on the outline); 1: window (caption band).
    virtual CXPGroupBox& SetStyle(int style);
    // The caption is drawn with one blank on each side.
    virtual CXPGroupBox& SetCaption(const std::string& text);
    virtual CXPGroupBox& SetBold(bool bold);
    virtual CXPGroupBox& SetFontName(const std::string& face, BYTE charSet = DEFAULT_CHARSET);
    virtual CXPGroupBox& SetUnderline(bool underline);
    virtual CXPGroupBox& SetItalic(bool italic);
    virtual CXPGroupBox& SetFontSize(int points);
    virtual CXPGroupBox& SetFont(LOGFONTA font);
    // 1 centre, 2 right, anything else left.
    virtual CXPGroupBox& SetAlignment(int alignment);

    const std::string& Caption() const { return caption_; }
    int Style() const { return style_; }
    int Alignment() const { return alignment_; }
    COLORREF BorderColor() const { return borderColour_; }
    COLORREF CaptionBackground() const { return captionBackground_; }
    COLORREF ClientBackground() const { return clientBackground_; }
    COLORREF CaptionTextColor() const { return captionText_; }
    const LOGFONTA& FontDescription() const { return logFont_; }
    HFONT FontHandle() const { return font_.Get(); }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    void RecreateFont();
    CXPGroupBox& Repaint();

    std::string caption_;
    COLORREF borderColour_;
    COLORREF captionBackground_;
    COLORREF clientBackground_;
    COLORREF captionText_;
    int style_ = 0;
    int alignment_ = 0;
    LOGFONTA logFont_{};
    ui::Font font_;
};

}  // namespace tv
