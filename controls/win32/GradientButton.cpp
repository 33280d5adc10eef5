#include "controls/win32/GradientButton.h"

#include "platform/ui/Dpi.h"

#include <optional>

#include "controls/GradientFace.h"
#include "platform/win32/SystemLibrary.h"

namespace tv {

namespace {

COLOR16 Channel(Colour colour, int shift) {
    return static_cast<COLOR16>(((colour >> shift) & 0xFF) << 8);
}

void FillGradient(HDC dc, const FaceGradient& gradient) {
    TRIVERTEX vertices[2] = {};
    vertices[0].x = gradient.area.left;
    vertices[0].y = gradient.area.top;
    vertices[0].Red = Channel(gradient.top, 0);
    vertices[0].Green = Channel(gradient.top, 8);
    vertices[0].Blue = Channel(gradient.top, 16);
    vertices[1].x = gradient.area.right;
    vertices[1].y = gradient.area.bottom;
    vertices[1].Red = Channel(gradient.bottom, 0);
    vertices[1].Green = Channel(gradient.bottom, 8);
    vertices[1].Blue = Channel(gradient.bottom, 16);
    GRADIENT_RECT rect{0, 1};
    static const auto fill = SystemFunctionAs<decltype(&GradientFill)>("msimg32.dll", "GradientFill");
    if (fill) fill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

void DrawLine(HDC dc, const FaceLine& line) {
    ui::Pen pen(CreatePen(PS_SOLID, 1, line.colour));
    ui::SelectObjectGuard select(dc, pen.Get());
    MoveToEx(dc, line.fromX, line.fromY, nullptr);
    LineTo(dc, line.toX, line.toY);
}

void DrawRoundedOutline(HDC dc, const Rect& area, Colour colour, int corner) {
    ui::Pen pen(CreatePen(PS_SOLID, 1, colour));
    ui::SelectObjectGuard select(dc, pen.Get());
    RoundRect(dc, area.left, area.top, area.right, area.bottom, corner, corner);
}

void DrawFacePlan(HDC dc, const GradientFacePlan& plan) {
    if (plan.drawEdges) {
        DrawLine(dc, plan.leftEdge);
        DrawLine(dc, plan.bottomEdge);
        FillGradient(dc, plan.background);
    }
    FillGradient(dc, plan.ring);
    FillGradient(dc, plan.inner);
    if (plan.drawFocus) {
        RECT focus{plan.focus.left, plan.focus.top, plan.focus.right, plan.focus.bottom};
        DrawFocusRect(dc, &focus);
    }
    DrawRoundedOutline(dc, plan.border, plan.borderColour, ui::Scaled(4));
    DrawRoundedOutline(dc, plan.border, plan.cornerColour, ui::Scaled(6));
}

}  // namespace

void CGradientButton::DrawFace(HDC target, const RECT& item) {
    FaceState state;
    state.pressed = pressed_;
    state.focused = focused_;
    state.disabled = disabled_;
    state.isDefault = IsDefault();
    state.hover = IsHover();
    GradientFacePlan plan =
        PlanGradientFace({item.left, item.top, item.right, item.bottom}, state, ui::ScreenDpi());

    // Off-screen over the clip box, so a state change never flickers;
    // printers get the drawing directly.
    RECT clip{};
    GetClipBox(target, &clip);
    const bool printer = GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER;
    ui::MemoryDc memory(target);
    ui::Bitmap buffer;
    if (!printer && memory)
        buffer.Reset(CreateCompatibleBitmap(target, clip.right - clip.left, clip.bottom - clip.top));
    std::optional<ui::SelectObjectGuard> selectBuffer;
    if (buffer) selectBuffer.emplace(memory.Get(), buffer.Get());
    const bool offScreen = selectBuffer && selectBuffer->Ok();
    HDC dc = offScreen ? memory.Get() : target;
    if (offScreen) SetWindowOrgEx(dc, clip.left, clip.top, nullptr);

    PaintSavedBackground(dc);
    COLORREF corner = GetPixel(dc, item.right - 1, item.top);
    {
        ui::SavedDcState saved(dc);
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        DrawFacePlan(dc, plan);
        // The top-right pixel keeps what lies behind the button.
        if (corner != CLR_INVALID) SetPixel(dc, item.right - 1, item.top, corner);
    }
    if (offScreen)
        BitBlt(target, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, dc,
               clip.left, clip.top, SRCCOPY);
}

}  // namespace tv
