// Putting management rows into a report list view and reading them back,
// plus the image list the list views show their row icons from.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "manage/ListRow.h"
#include "platform/UniqueHandle.h"
#include "platform/ui/Controls.h"

namespace tv {


struct ColumnLayout {
    const char* heading;
    int width;
    int format;  // LVCFMT_LEFT, LVCFMT_CENTER or LVCFMT_RIGHT
};

// Inserts the columns with drawing held back: each column would otherwise
// lay the list out again.
void InsertColumns(const ui::ListView& list, const ColumnLayout* columns, size_t count);

// Appends `row` (its first cell as the item text, with `image` when it is
// not -1) and stores its item data; returns the index.
int AppendRow(const ui::ListView& list, const ListRow& row, int image = -1);

// Appends a row whose texts the page keeps: the list holds its image, item
// data and state, and asks the page for a cell's text when it draws or is
// read (AnswerTextRequest). One message per row rather than one per cell.
int AppendCallbackRow(const ui::ListView& list, int image, LPARAM data);

// The text of a cell, or null for an empty one.
using CellText = std::function<const std::string*(int item, int column)>;
// The exact (UTF-16) text of a cell where the page has one; null or empty:
// the 8-bit text stands.
using WideCellText = std::function<const std::u16string*(int item, int column)>;
// Answers a list's request for a cell's text (LVN_GETDISPINFO, in either
// character form) from `cell`, cut to the room the list offers; a list that
// asks in UTF-16 (see UseUnicodeText) gets `wide`'s text where there is one.
// False for any other notification.
bool AnswerTextRequest(const NMHDR& header, const CellText& cell,
                       const WideCellText& wide = {});
// Sets a cell's text in UTF-16, so a name in any script shows whole.
void SetItemTextW(const ui::ListView& list, int index, int column, const std::u16string& text);
// Makes the list ask for its texts in UTF-16, so a name in any script shows
// whole.
void UseUnicodeText(const ui::ListView& list);

// The cells of row `index`; an index outside the list reads as empty cells.
ListRow ReadRow(const ui::ListView& list, int index, size_t columns);

// The row of the list's selection mark while that row is selected; -1 when
// there is no mark or its row is no longer selected.
int SelectionMark(const ui::ListView& list);
bool IsChecked(const ui::ListView& list, int index);
LPARAM ItemData(const ui::ListView& list, int index);

}  // namespace tv
