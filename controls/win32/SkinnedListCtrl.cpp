#include "controls/win32/SkinnedListCtrl.h"

#include <commctrl.h>

#include <string>

#include "controls/SkinnedListLayout.h"
#include "platform/ui/Dpi.h"
#include "platform/ui/Gdi.h"
#include "platform/win32/SystemLibrary.h"

namespace tv {

namespace {

RECT ToRect(const Box& b) { return {b.left, b.top, b.right, b.bottom}; }
Box ToBox(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void FillBox(HDC dc, const Box& box, COLORREF colour) {
    ui::Brush brush(CreateSolidBrush(colour));
    RECT rect = ToRect(box);
    if (brush) FillRect(dc, &rect, brush.Get());
}

void VerticalGradient(HDC dc, const Box& box, COLORREF top, COLORREF bottom) {
    if (box.right <= box.left || box.bottom <= box.top) return;
    TRIVERTEX vertices[2] = {};
    vertices[0].x = box.left;
    vertices[0].y = box.top;
    vertices[0].Red = static_cast<COLOR16>(GetRValue(top) << 8);
    vertices[0].Green = static_cast<COLOR16>(GetGValue(top) << 8);
    vertices[0].Blue = static_cast<COLOR16>(GetBValue(top) << 8);
    vertices[1].x = box.right;
    vertices[1].y = box.bottom;
    vertices[1].Red = static_cast<COLOR16>(GetRValue(bottom) << 8);
    vertices[1].Green = static_cast<COLOR16>(GetGValue(bottom) << 8);
    vertices[1].Blue = static_cast<COLOR16>(GetBValue(bottom) << 8);
    GRADIENT_RECT mesh{0, 1};
    static const auto fill = SystemFunctionAs<decltype(&GradientFill)>("msimg32.dll", "GradientFill");
    if (fill) fill(dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
}

void RoundFrame(HDC dc, const Box& box, int corner, COLORREF penColour) {
    ui::Pen pen(CreatePen(PS_SOLID, 1, penColour));
    if (!pen) return;
    ui::SelectObjectGuard selectPen(dc, pen.Get());
    ui::SelectObjectGuard selectBrush(dc, GetSysColorBrush(COLOR_WINDOW));
    RoundRect(dc, box.left, box.top, box.right, box.bottom, corner, corner);
}

// The height of a line of the default GUI font in this context.
int GuiFontLineHeight(HDC dc) {
    ui::SelectObjectGuard select(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics{};
    return GetTextMetricsA(dc, &metrics) ? metrics.tmHeight : 0;
}

}  // namespace

void SkinnedListCtrl::Attached() {
    const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    SetWindowLongPtrA(hwnd_, GWL_STYLE, style | LVS_OWNERDRAWFIXED);
}

void SkinnedListCtrl::SetRowHeight(int pixels) {
    rowHeight_ = pixels;
    if (!hwnd_) return;
    // A size change makes the list ask its parent for the row height again.
    RECT window = WindowRect();
    WINDOWPOS position{};
    position.hwnd = hwnd_;
    position.cx = window.right - window.left;
    position.cy = window.bottom - window.top;
    position.flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    Send(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
}

bool SkinnedListCtrl::SetTextColour(COLORREF colour) {
    textColour_ = colour;
    return true;
}

void SkinnedListCtrl::SetFontSize(int height, int width) {
    fontHeight_ = height;
    fontWidth_ = width;
}

bool SkinnedListCtrl::OnMeasureItem(MEASUREITEMSTRUCT& item) const {
    std::optional<int> height = MeasuredRowHeight(rowHeight_ > 0 ? ui::Scaled(rowHeight_) : 0);
    if (!height) return false;
    item.itemHeight = static_cast<UINT>(*height);
    return true;
}

bool SkinnedListCtrl::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_LISTVIEW || item.hwndItem != hwnd_) return false;
    const int row = static_cast<int>(item.itemID);
    const bool itemSelected =
        (Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    const bool showAlways = (GetWindowLongPtrA(hwnd_, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0;
    const bool selected = DrawsSelected((item.itemState & ODS_SELECTED) != 0, itemSelected, showAlways);

    HDC dc = item.hDC;
    ui::SavedDcState saved(dc);
    if (selected) DrawSelection(dc, item.rcItem);
    const int lineHeight = GuiFontLineHeight(dc);
    for (int column = 0;; ++column) {
        LVCOLUMNA info{};
        info.mask = LVCF_WIDTH;
        if (!Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)))
            break;
        DrawCell(dc, row, column, selected, lineHeight);
    }
    return true;
}

void SkinnedListCtrl::DrawSelection(HDC dc, const RECT& row) const {
    const SelectionShape shape = SelectionFor(ToBox(row), ui::ScreenDpi());
    RoundFrame(dc, shape.outer, shape.outerCorner, kSelectionOuterPen);
    RoundFrame(dc, shape.inner, shape.innerCorner, kSelectionInnerPen);
    VerticalGradient(dc, shape.gradient, kSelectionGradientTop, kSelectionGradientBottom);
}

void SkinnedListCtrl::DrawCell(HDC dc, int row, int column, bool selected, int lineHeight) const {
    RECT label{};
    label.top = column;
    label.left = LVIR_LABEL;
    if (!Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label)))
        return;
    const Box cell = CellLabelBox(ToBox(label), column);
    const std::string full = ItemText(row, column);
    const std::string_view text = CellText(full);

    if (!selected) {
        FillBox(dc, cell, static_cast<COLORREF>(Send(LVM_GETBKCOLOR)));
        FillBox(dc, SeparatorFor(cell, ui::ScreenDpi()), kRowSeparator);
    }
    RECT place = ToRect(CellTextBox(cell, lineHeight));
    SetTextColor(dc, textColour_);
    // Over the gradient or the list background alike.
    SetBkMode(dc, TRANSPARENT);
    ui::Font font(CreateFontA(ui::Scaled(fontHeight_), ui::Scaled(fontWidth_), 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE,
                              static_cast<DWORD>(kListFontCharset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kListFontFace));
    if (!font) return;
    ui::SelectObjectGuard select(dc, font.Get());
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &place, 0);
}

}  // namespace tv
