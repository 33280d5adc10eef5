#include "controls/win32/XPGroupBox.h"

#include "platform/ui/Dpi.h"

#include <cstring>

#include "controls/GroupBoxLayout.h"
#include "platform/CodePageText.h"

namespace tv {

CXPGroupBox::CXPGroupBox()
    : borderColour_(GetSysColor(COLOR_BTNSHADOW)),
      captionBackground_(GetSysColor(COLOR_BTNFACE)),
      clientBackground_(GetSysColor(COLOR_BTNFACE)),
      captionText_(GetSysColor(COLOR_WINDOWTEXT)) {}

void CXPGroupBox::PreSubclassWindow() {
    // With the icon style the system draws no caption of its own.
    // Clipping siblings keeps the box from painting over the texts it frames
    // when they lie above it.
    SetWindowLongPtrA(hwnd_, GWL_STYLE,
                      GetWindowLongPtrA(hwnd_, GWL_STYLE) | BS_ICON | WS_CLIPSIBLINGS);
    HGDIOBJ current = reinterpret_cast<HGDIOBJ>(Send(WM_GETFONT));
    if (!current) current = GetStockObject(SYSTEM_FONT);
    if (!GetObjectA(current, sizeof(logFont_), &logFont_)) logFont_ = LOGFONTA{};
    RecreateFont();
}

void CXPGroupBox::RecreateFont() { font_.Reset(CreateFontIndirectA(&logFont_)); }

CXPGroupBox& CXPGroupBox::Repaint() {
    if (!hwnd_) return *this;
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (HWND parent = GetParent(hwnd_)) {
        RECT area = WindowRect();
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
        InvalidateRect(parent, &area, TRUE);
        UpdateWindow(parent);
    }
    return *this;
}

CXPGroupBox& CXPGroupBox::SetBorderColor(COLORREF colour) {
    borderColour_ = colour;
    return Repaint();
}

CXPGroupBox& CXPGroupBox::SetCaptionTextColor(COLORREF colour) {
    captionText_ = colour;
    return Repaint();
}

CXPGroupBox& CXPGroupBox::SetBackgroundColor(COLORREF caption, COLORREF client) {
    captionBackground_ = caption;
    clientBackground_ = client;
    return Repaint();
}

CXPGroupBox& CXPGroupBox::SetBackgroundColor(COLORREF colour) {
    return SetBackgroundColor(colour, colour);
}

CXPGroupBox& CXPGroupBox::SetStyle(int style) {
    style_ = style;
    return Repaint();
}

CXPGroupBox& CXPGroupBox::SetCaption(const std::string& text) {
    if (hwnd_) caption_ = " " + text + " ";
    return Repaint();
}

CXPGroupBox& CXPGroupBox::SetBold(bool bold) {
    logFont_.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    RecreateFont();
    return Repaint();
}

CXPGroupBox& CXPGroupBox::SetFontName(const std::string& face, BYTE charSet) {
    // A longer name is cut to what the record holds, never inside a
    // double-byte character.
    std::size_t keep = 0;
    for (std::size_t i = 0; i < face.size();) {
        std::size_t step =
            text::IsLeadByte(static_cast<unsigned char>(face[i])) && i + 1 < face.size() ? 2 : 1;
        if (i + step > LF_FACESIZE - 1) break;
        i += step;
        keep = i;
    }
    std::memset(logFont_.lfFaceName, 0, sizeof(logFont_.lfFaceName));
    std::memcpy(logFont_.lfFaceName, face.data(), keep);
    logFont_.lfCharSet = charSet;
    RecreateFont();
    return Repaint();
}

CXPGroupBox& CXPGroupBox::SetUnderline(bool underline) {
    logFont_.lfUnderline = underline ? TRUE : FALSE;
    RecreateFont();
    return Repaint();
}

CXPGroupBox& CXPGroupBox::SetItalic(bool italic) {
    logFont_.lfItalic = italic ? TRUE : FALSE;
    RecreateFont();
    return Repaint();
}

CXPGroupBox& CXPGroupBox::SetFontSize(int points) {
    // The height a point font of that size gets on the screen.
    ui::WindowDc screen(nullptr);
    int height = MulDiv(GetDeviceCaps(screen.Get(), LOGPIXELSY), points * 10, 720);
    logFont_.lfHeight = height < 0 ? height : -height;
    logFont_.lfWidth = 0;
    RecreateFont();
    return Repaint();
}

CXPGroupBox& CXPGroupBox::SetFont(LOGFONTA font) {
    logFont_ = font;
    logFont_.lfFaceName[LF_FACESIZE - 1] = '\0';
    RecreateFont();
    return Repaint();
}

CXPGroupBox& CXPGroupBox::SetAlignment(int alignment) {
    alignment_ = NormalizeGroupBoxAlignment(alignment);
    return Repaint();
}

LRESULT CXPGroupBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        Paint();
        return 0;
    }
    return Default(message, wParam, lParam);
}

void CXPGroupBox::Paint() {
    ui::PaintDc paint(hwnd_);
    HDC dc = paint.Get();
    if (!dc) return;
    ui::SelectObjectGuard selectFont(dc, font_ ? static_cast<HGDIOBJ>(font_.Get())
                                               : GetStockObject(SYSTEM_FONT));
    if (caption_.empty()) caption_ = GroupBoxCaption(Text());

    SIZE extent{0, 0};
    if (!caption_.empty())
        GetTextExtentPoint32A(dc, caption_.c_str(), static_cast<int>(caption_.size()), &extent);
    RECT client = ClientRect();
    GroupBoxLayout layout = PlanGroupBox({client.left, client.top, client.right, client.bottom},
                                         style_, alignment_, extent.cx, extent.cy);
    RECT caption{layout.caption.left, layout.caption.top, layout.caption.right,
                 layout.caption.bottom};

    ui::Pen pen(CreatePen(PS_SOLID, 1, borderColour_));
    ui::Brush captionBrush(CreateSolidBrush(captionBackground_));
    {
        ui::SelectObjectGuard selectPen(dc, pen.Get());
        const Rect& o = layout.outline;
        if (style_ == kGroupBoxWindow) {
            ui::Brush clientBrush(CreateSolidBrush(clientBackground_));
            {
                ui::SelectObjectGuard selectBrush(dc, captionBrush.Get());
                RoundRect(dc, o.left, o.top, o.right, o.bottom, ui::Scaled(10), ui::Scaled(10));
            }
            ui::SelectObjectGuard selectBrush(dc, clientBrush.Get());
            Rectangle(dc, layout.body.left, layout.body.top, layout.body.right, layout.body.bottom);
        } else {
            ui::SelectObjectGuard selectBrush(dc, GetStockObject(NULL_BRUSH));
            RoundRect(dc, o.left, o.top, o.right, o.bottom, ui::Scaled(10), ui::Scaled(10));
            // Break the outline behind the caption.
            ui::SavedDcState clip(dc);
            IntersectClipRect(dc, caption.left, caption.top, caption.right, caption.bottom);
            FillRect(dc, &caption, captionBrush.Get());
        }
    }

    COLORREF oldText = SetTextColor(dc, captionText_);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &caption,
              DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldText);
}

}  // namespace tv
