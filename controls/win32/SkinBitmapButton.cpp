#include "controls/win32/SkinBitmapButton.h"

#include <vector>

#include "platform/ui/Dpi.h"

namespace tv {

bool CSkinBitmapButton::LoadImages(int normalId, int downId, int hoverId) {
    down_.Reset();
    hover_.Reset();
    normal_.Reset();
    downId_ = hoverId_ = 0;
    normal_ = ui::LoadScaledBitmap(normalId);
    if (!normal_) return false;
    bool ok = true;
    if (downId != 0) {
        downId_ = downId;
        ok = ok && ui::HasBitmapResource(downId);
    }
    if (hoverId != 0) {
        hoverId_ = hoverId;
        ok = ok && ui::HasBitmapResource(hoverId);
    }
    return ok;
}

const ui::Bitmap& CSkinBitmapButton::ImageFor(int state) {
    auto loaded = [](ui::Bitmap& image, int& id) -> const ui::Bitmap& {
        if (id != 0) {
            image = ui::LoadScaledBitmap(id);
            id = 0;  // a failed load is not tried again
        }
        return image;
    };
    if (state == kButtonDown) return loaded(down_, downId_);
    if (state == kButtonHover) return loaded(hover_, hoverId_);
    return normal_;
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

    const ui::Bitmap* image = &ImageFor(state_.ImageForState());
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
