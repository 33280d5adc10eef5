// A report-style list that draws its own rows: a fixed row height, one font
// and text colour chosen by the owner, a grey line along the top of each
// unselected row and a rounded lavender gradient behind the selected one.
#pragma once

#include <windows.h>

#include "platform/ui/Controls.h"

namespace tv {

class SkinnedListCtrl : public ui::ListView {
public:
    // Once the dialog's list is bound to this object: rows are drawn by it.
    void Attached();
    // Fixed row height in pixels (0: the list's own); the list re-measures
    // its rows at once.
    void SetRowHeight(int pixels);
    bool SetTextColour(COLORREF colour);
    void SetFontSize(int height, int width);

    int RowHeight() const { return rowHeight_; }
    COLORREF TextColour() const { return textColour_; }
    int FontHeight() const { return fontHeight_; }
    int FontWidth() const { return fontWidth_; }

    // WM_MEASUREITEM reflected from the parent. True when answered.
    bool OnMeasureItem(MEASUREITEMSTRUCT& item) const;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

private:
    void DrawSelection(HDC dc, const RECT& row) const;
    void DrawCell(HDC dc, int row, int column, bool selected, int lineHeight) const;

    int rowHeight_ = 0;
    COLORREF textColour_ = 0;
    int fontHeight_ = 12;
    int fontWidth_ = 0;
};

}  // namespace tv
