#include "controls/win32/SkinBitmapButton.h"

#include <vector>

namespace tv {

bool CSkinBitmapButton::LoadImages(int normalId, int downId, int hoverId) {
    down_.Reset();
    hover_.Reset();
    normal_.Reset();
    normal_ = ui::LoadBitmapResource(normalId);
    if (!normal_) return false;
    bool ok = true;
    if (downId != 0) {
        down_ = ui::LoadBitmapResource(downId);
        ok = ok && down_;
    }
    if (hoverId != 0) {
        hover_ = ui::LoadBitmapResource(hoverId);
        ok = ok && hover_;
    }
    return ok;
}

void CSkinBitmapButton::SetDown() { Apply(state_.SetDown(), 0, 0, 0); }

void CSkinBitmapButton::SetNormal() { Apply(state_.SetNormal(), 0, 0, 0); }

LRESULT CSkinBitmapButton::Apply(const ButtonEffects& effects, UINT message, WPARAM wParam,
                                 LPARAM lParam) {
    if (!hwnd_) return 0;
    if (effects.setPushed || effects.clearPushed) {
        Enable(true);
        SetPushed(effects.setPushed);
    }
    if (effects.takeCapture) SetCapture(hwnd_);
    if (effects.redraw) {
        Invalidate(true);
        if (message == WM_MOUSEMOVE) Update();
    }
    if (effects.releaseCapture) ReleaseCapture();
    return effects.defaultProcessing ? Default(message, wParam, lParam) : 0;
}

LRESULT CSkinBitmapButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: {
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client = ClientRect();
        bool inside = PtInRect(&client, point) != 0;
        Apply(state_.MouseMove(inside, GetCapture() == hwnd_), message, wParam, lParam);
        return Default(message, wParam, lParam);
    }
    case WM_LBUTTONDOWN:
        if (state_.Kind() == ButtonKind::Latch) break;
        return Apply(state_.LeftButtonDown(), message, wParam, lParam);
    case WM_LBUTTONUP:
        return Apply(state_.LeftButtonUp(), message, wParam, lParam);
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

bool CSkinBitmapButton::OnDrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    ui::MemoryDc memory(dc);
    ui::SavedDcState saved(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWFRAME));

    const ui::Bitmap* image = &normal_;
    if (state_.ImageForState() == kButtonDown) image = &down_;
    else if (state_.ImageForState() == kButtonHover) image = &hover_;
    std::string caption = Text();

    if (*image) {
        if (!memory) return true;
        ui::SelectObjectGuard select(memory.Get(), image->Get());
        if (!select.Ok()) return true;
        const RECT& r = item.rcItem;
        if (!BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, memory.Get(), 0, 0, SRCCOPY))
            return true;
    }
    RECT area = item.rcItem;
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &area, DT_CENTER);
    return true;
}

}  // namespace tv
