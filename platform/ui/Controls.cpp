#include "platform/ui/Controls.h"

#include "platform/ui/Dpi.h"

#include <vector>

namespace tv::ui {

int ListView::InsertColumn(int index, const std::string& heading, int width, int format) const {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = format;
    // Widths are given at 96 dpi, like every other figure.
    column.cx = Scaled(width);
    column.pszText = const_cast<char*>(heading.c_str());
    column.iSubItem = index;
    return static_cast<int>(Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                                 reinterpret_cast<LPARAM>(&column)));
}

int ListView::InsertItem(int index, const std::string& text, int image) const {
    LVITEMA item{};
    item.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = image;
    return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool ListView::SetItemText(int item, int subItem, const std::string& text) const {
    LVITEMA cell{};
    cell.iSubItem = subItem;
    cell.pszText = const_cast<char*>(text.c_str());
    return Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell)) != 0;
}

std::string ListView::ItemText(int item, int subItem) const {
    // Grow the buffer until the text fits, so no cell is cut short.
    for (size_t size = 256; size <= (1u << 20); size *= 4) {
        std::vector<char> buffer(size);
        LVITEMA cell{};
        cell.iSubItem = subItem;
        cell.pszText = buffer.data();
        cell.cchTextMax = static_cast<int>(size);
        auto length = static_cast<size_t>(Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(item),
                                               reinterpret_cast<LPARAM>(&cell)));
        if (length + 1 < size) return std::string(buffer.data(), length);
    }
    return {};
}

bool ToolTip::Create(HWND owner, DWORD style) {
    if (hwnd_) return false;
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!tip) return false;
    AttachHandle(tip);
    return true;
}

bool ToolTip::AddTool(HWND tool, const std::string& text) const {
    TTTOOLINFOA info{};
    // The pre-6.0 size: the program does not ask for the newer controls.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<char*>(text.c_str());
    return Send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

}  // namespace tv::ui
