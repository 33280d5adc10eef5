#include "controls/win32/SmartButton.h"

#include "controls/GradientFace.h"

#include <string>
#include <utility>

namespace tv {

namespace {

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

CSmartButton::CSmartButton()
    : hoverBackground_(GetSysColor(COLOR_BTNFACE)), hoverText_(GetSysColor(COLOR_BTNTEXT)),
      normalBackground_(GetSysColor(COLOR_BTNFACE)), normalText_(GetSysColor(COLOR_BTNTEXT)),
      focusBackground_(GetSysColor(COLOR_BTNFACE)), focusText_(GetSysColor(COLOR_BTNTEXT)) {}

void CSmartButton::PreSubclassWindow() {
    LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    int type = static_cast<int>(style & BS_TYPEMASK);
    if (type == BS_DEFPUSHBUTTON) {
        default_ = true;
        type = BS_PUSHBUTTON;
    }
    buttonType_ = type;
    SetWindowLongPtrA(hwnd_, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CSmartButton::SetIcon(int iconId) {
    const ui::SharedIcon shared = ui::LoadSharedIconResource(iconId);
    icon_ = shared.icon;
    iconWidth_ = shared.width;
    iconHeight_ = shared.height;
    if (hwnd_) Invalidate(true);
}

void CSmartButton::CancelHover() {
    if (flat_ && hover_) {
        hover_ = false;
        Invalidate(true);
    }
}

void CSmartButton::TrackHover(LPARAM position, WPARAM keys) {
    POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ClientToScreen(hwnd_, &point);
    HWND under = WindowFromPoint(point);
    if ((keys & MK_LBUTTON) && !hover_) return;
    if (under == hwnd_) {
        if (hover_) return;
        hover_ = true;
        Invalidate(true);
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = hwnd_;
        TrackMouseEvent(&track);
    } else {
        CancelHover();
    }
}

LRESULT CSmartButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: {
        LRESULT result = Default(message, wParam, lParam);
        TrackHover(lParam, wParam);
        return result;
    }
    case WM_MOUSELEAVE:
        CancelHover();
        return 0;
    case WM_KILLFOCUS:
    case WM_CANCELMODE: {
        LRESULT result = Default(message, wParam, lParam);
        CancelHover();
        return result;
    }
    case WM_ACTIVATE: {
        LRESULT result = Default(message, wParam, lParam);
        if (LOWORD(wParam) == WA_INACTIVE) CancelHover();
        return result;
    }
    case WM_ENABLE: {
        LRESULT result = Default(message, wParam, lParam);
        if (!wParam) {
            // Keyboard users keep a usable focus. Only the focus this button
            // holds is moved: a button disabled on a hidden page must not
            // pull the focus away from what the user is working in.
            if (GetFocus() == hwnd_) {
                HWND parent = GetParent(hwnd_);
                HWND next = parent ? GetNextDlgTabItem(parent, hwnd_, FALSE) : nullptr;
                if (next && next != hwnd_) SetFocus(next);
                else if (parent) SetFocus(parent);
            }
            CancelHover();
        }
        return result;
    }
    case WM_GETDLGCODE:
        return Default(message, wParam, lParam) |
               (default_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE: {
        UINT type = static_cast<UINT>(wParam & BS_TYPEMASK);
        if (type == BS_PUSHBUTTON) default_ = false;
        else if (type == BS_DEFPUSHBUTTON) default_ = true;
        return Default(message, (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW,
                       lParam);
    }
    case WM_SYSCOLORCHANGE: {
        LRESULT result = Default(message, wParam, lParam);
        savedBackground_.Reset();
        return result;
    }
    case WM_LBUTTONDBLCLK:
        // A double click counts as two clicks.
        return Default(WM_LBUTTONDOWN, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}

bool CSmartButton::OnReflectedCommand(int code) {
    if (code == BN_CLICKED) SetFocus(hwnd_);
    return false;
}

HBRUSH CSmartButton::OnReflectedCtlColor(HDC, UINT) {
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CSmartButton::PaintSavedBackground(HDC dc) {
    RECT client = ClientRect();
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    HWND parent = GetParent(hwnd_);
    if (!savedBackground_ && parent) {
        ui::WindowDc parentDc(parent);
        ui::MemoryDc memory(parentDc.Get());
        ui::Bitmap bitmap(CreateCompatibleBitmap(parentDc.Get(), width, height));
        if (memory && bitmap) {
            RECT placed = WindowRect();
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
            bool copied = false;
            {
                ui::SelectObjectGuard select(memory.Get(), bitmap.Get());
                copied = select.Ok() && BitBlt(memory.Get(), 0, 0, width, height, parentDc.Get(),
                                               placed.left, placed.top, SRCCOPY);
            }
            if (copied) savedBackground_ = std::move(bitmap);
        }
    }
    if (!savedBackground_) return;
    ui::MemoryDc memory(dc);
    if (!memory) return;
    ui::SelectObjectGuard select(memory.Get(), savedBackground_.Get());
    if (select.Ok()) BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

bool CSmartButton::OnDrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    pressed_ = (item.itemState & ODS_SELECTED) != 0;
    focused_ = (item.itemState & ODS_FOCUS) != 0;
    disabled_ = (item.itemState & ODS_DISABLED) != 0;
    SetBkMode(dc, TRANSPARENT);

    DrawFace(dc, r);
    if (drawBorder_ && (pressed_ || hover_)) DrawBorder(dc, r);

    std::string caption = Text();
    ButtonContentLayout layout = PlanButtonContent(ToRect(r), icon_ != nullptr, iconWidth_,
                                                   iconHeight_, !caption.empty());
    if (layout.drawIcon) {
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon_), 0, layout.iconX,
                   layout.iconY, iconWidth_, iconHeight_,
                   DST_ICON | (disabled_ ? DSS_DISABLED : DSS_NORMAL));
    }
    if (!caption.empty()) DrawCaption(dc, ToRECT(layout.text), caption);
    return true;
}

void CSmartButton::DrawCaption(HDC dc, const RECT& area, const std::string& caption) const {
    const int length = static_cast<int>(caption.size());
    RECT measured = area;
    DrawTextA(dc, caption.c_str(), length, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    RECT place = ToRECT(CentreCaption(ToRect(area), measured.right - measured.left,
                                      measured.bottom - measured.top));
    COLORREF previous = GetTextColor(dc);
    if (disabled_) {
        RECT raised = place;
        OffsetRect(&raised, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, caption.c_str(), length, &raised, DT_WORDBREAK | DT_CENTER);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        DrawTextA(dc, caption.c_str(), length, &place, DT_WORDBREAK | DT_CENTER);
    } else {
        SetTextColor(dc, (hover_ || pressed_) ? hoverText_ : normalText_);
        DrawTextA(dc, caption.c_str(), length, &place, DT_WORDBREAK | DT_CENTER);
    }
    SetTextColor(dc, previous);
}

}  // namespace tv
