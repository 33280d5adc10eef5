#include "manage/win32/ListRowsView.h"

namespace tv {

void InsertColumns(const ui::ListView& list, const ColumnLayout* columns, size_t count) {
    for (size_t i = 0; i < count; ++i)
        list.InsertColumn(static_cast<int>(i), columns[i].heading, columns[i].width,
                          columns[i].format);
}

int AppendRow(const ui::ListView& list, const ListRow& row, int image) {
    int index = list.InsertItem(list.ItemCount(), row.cells.empty() ? "" : row[0], image);
    if (index < 0) return index;
    for (size_t c = 1; c < row.cells.size(); ++c)
        if (!row[c].empty()) list.SetItemText(index, static_cast<int>(c), row[c]);
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = row.itemData;
    list.Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return index;
}

ListRow ReadRow(const ui::ListView& list, int index, size_t columns) {
    ListRow row(columns);
    if (index < 0 || index >= list.ItemCount()) return row;
    for (size_t c = 0; c < columns; ++c) row[c] = list.ItemText(index, static_cast<int>(c));
    return row;
}

int SelectionMark(const ui::ListView& list) {
    return static_cast<int>(list.Send(LVM_GETSELECTIONMARK));
}

bool IsChecked(const ui::ListView& list, int index) {
    auto state = static_cast<UINT>(
        list.Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
    return (state >> 12) == 2;
}

LPARAM ItemData(const ui::ListView& list, int index) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!list.Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return item.lParam;
}

}  // namespace tv
