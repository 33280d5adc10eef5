#include "manage/win32/ListRowsView.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/CodePageText.h"

namespace tv {

void InsertColumns(const ui::ListView& list, const ColumnLayout* columns, size_t count) {
    list.Send(WM_SETREDRAW, FALSE);
    for (size_t i = 0; i < count; ++i)
        list.InsertColumn(static_cast<int>(i), columns[i].heading, columns[i].width,
                          columns[i].format);
    list.Send(WM_SETREDRAW, TRUE);
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

int AppendCallbackRow(const ui::ListView& list, int image, LPARAM data) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = list.ItemCount();
    // Cells never set are asked for as the first one is.
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.iImage = image;
    item.lParam = data;
    return static_cast<int>(list.Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetItemTextW(const ui::ListView& list, int index, int column, const std::u16string& text) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
    SendMessageW(list.Handle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
}

void UseUnicodeText(const ui::ListView& list) { list.Send(CCM_SETUNICODEFORMAT, TRUE, 0); }

bool AnswerTextRequest(const NMHDR& header, const CellText& cell, const WideCellText& wide) {
    if (header.code == LVN_GETDISPINFOA) {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA&>(const_cast<NMHDR&>(header)).item;
        if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) return true;
        const std::string* text = cell(item.iItem, item.iSubItem);
        // Never a lead byte without its trail at the cut.
        std::string_view shown = text ? text::CutToBytes(*text, static_cast<size_t>(item.cchTextMax) - 1)
                                      : std::string_view();
        std::memcpy(item.pszText, shown.data(), shown.size());
        item.pszText[shown.size()] = '\0';
        return true;
    }
    if (header.code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item;
        if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) return true;
        const std::u16string* exact = wide ? wide(item.iItem, item.iSubItem) : nullptr;
        if (exact && !exact->empty()) {
            size_t length = std::min(exact->size(), static_cast<size_t>(item.cchTextMax) - 1);
            // Never half of a surrogate pair at the cut.
            if (length < exact->size() && length > 0 && (*exact)[length - 1] >= 0xD800 &&
                (*exact)[length - 1] < 0xDC00)
                --length;
            std::memcpy(item.pszText, exact->data(), length * sizeof(wchar_t));
            item.pszText[length] = L'\0';
            return true;
        }
        const std::string* text = cell(item.iItem, item.iSubItem);
        int length = 0;
        if (text && !text->empty()) {
            std::wstring wide(text->size(), L'\0');
            int converted = MultiByteToWideChar(CP_ACP, 0, text->data(), static_cast<int>(text->size()),
                                                wide.data(), static_cast<int>(wide.size()));
            length = std::min(converted > 0 ? converted : 0, item.cchTextMax - 1);
            std::memcpy(item.pszText, wide.data(), static_cast<size_t>(length) * sizeof(wchar_t));
        }
        item.pszText[length] = L'\0';
        return true;
    }
    return false;
}

ListRow ReadRow(const ui::ListView& list, int index, size_t columns) {
    ListRow row(columns);
    if (index < 0 || index >= list.ItemCount()) return row;
    for (size_t c = 0; c < columns; ++c) row[c] = list.ItemText(index, static_cast<int>(c));
    return row;
}

int SelectionMark(const ui::ListView& list) {
    // The mark stays on a row the user has since deselected (a ctrl-click):
    // such a row was not picked.
    const int mark = static_cast<int>(list.Send(LVM_GETSELECTIONMARK));
    if (mark < 0 ||
        !(list.Send(LVM_GETITEMSTATE, static_cast<WPARAM>(mark), LVIS_SELECTED) & LVIS_SELECTED))
        return -1;
    return mark;
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
