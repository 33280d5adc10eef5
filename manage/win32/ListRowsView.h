// Putting management rows into a report list view and reading them back,
// plus the image list the list views show their row icons from.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "manage/ListRow.h"
#include "platform/UniqueHandle.h"
#include "platform/ui/Controls.h"

namespace tv {

struct OwnedImageListTraits {
    static HIMAGELIST Empty() { return nullptr; }
    static bool IsValid(HIMAGELIST list) { return list != nullptr; }
    static void Close(HIMAGELIST list) { ImageList_Destroy(list); }
};
using ImageListHandle = UniqueHandle<HIMAGELIST, OwnedImageListTraits>;

struct ColumnLayout {
    const char* heading;
    int width;
    int format;  // LVCFMT_LEFT, LVCFMT_CENTER or LVCFMT_RIGHT
};

void InsertColumns(const ui::ListView& list, const ColumnLayout* columns, size_t count);

// Appends `row` (its first cell as the item text, with `image` when it is
// not -1) and stores its item data; returns the index.
int AppendRow(const ui::ListView& list, const ListRow& row, int image = -1);

// The cells of row `index`; an index outside the list reads as empty cells.
ListRow ReadRow(const ui::ListView& list, int index, size_t columns);

int SelectionMark(const ui::ListView& list);
bool IsChecked(const ui::ListView& list, int index);
LPARAM ItemData(const ui::ListView& list, int index);

}  // namespace tv
