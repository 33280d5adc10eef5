#include "tests/support/RemoteListView.h"

#include <commctrl.h>

#include <vector>

namespace tv::testing {

namespace {
// The item record sits at the start of the borrowed memory, text after it.
constexpr SIZE_T kTextOffset = 256;
}  // namespace

RemoteListView::RemoteListView(HWND list) : list_(list) {
    DWORD id = 0;
    GetWindowThreadProcessId(list, &id);
    process_.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id));
    if (process_)
        memory_ = VirtualAllocEx(process_.Get(), nullptr, kTextOffset + kTextSize, MEM_COMMIT,
                                 PAGE_READWRITE);
}

RemoteListView::~RemoteListView() {
    if (memory_) VirtualFreeEx(process_.Get(), memory_, 0, MEM_RELEASE);
}

bool RemoteListView::Write(const void* data, SIZE_T size, SIZE_T offset) const {
    SIZE_T written = 0;
    return WriteProcessMemory(process_.Get(), static_cast<char*>(memory_) + offset, data, size,
                              &written) &&
           written == size;
}

bool RemoteListView::Read(void* data, SIZE_T size, SIZE_T offset) const {
    SIZE_T read = 0;
    return ReadProcessMemory(process_.Get(), static_cast<char*>(memory_) + offset, data, size,
                             &read) &&
           read == size;
}

int RemoteListView::ItemCount() const {
    return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::string RemoteListView::ItemText(int item, int subItem) const {
    if (!memory_) return {};
    LVITEMA cell{};
    cell.iSubItem = subItem;
    cell.pszText = static_cast<char*>(memory_) + kTextOffset;
    cell.cchTextMax = static_cast<int>(kTextSize);
    if (!Write(&cell, sizeof(cell))) return {};
    auto length = static_cast<SIZE_T>(
        SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(memory_)));
    if (length >= kTextSize) length = kTextSize - 1;
    std::vector<char> text(length + 1, '\0');
    if (!Read(text.data(), length, kTextOffset)) return {};
    return std::string(text.data(), length);
}

std::u16string RemoteListView::ItemTextW(int item, int subItem) const {
    if (!memory_) return {};
    LVITEMW cell{};
    cell.iSubItem = subItem;
    cell.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(memory_) + kTextOffset);
    cell.cchTextMax = static_cast<int>(kTextSize / sizeof(wchar_t));
    if (!Write(&cell, sizeof(cell))) return {};
    auto length = static_cast<SIZE_T>(
        SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(memory_)));
    if (length >= kTextSize / sizeof(wchar_t)) length = kTextSize / sizeof(wchar_t) - 1;
    std::u16string text(length, u'\0');
    if (length > 0 && !Read(text.data(), length * sizeof(char16_t), kTextOffset)) return {};
    return text;
}

int RemoteListView::ItemImage(int item) const {
    if (!memory_) return -1;
    LVITEMA record{};
    record.mask = LVIF_IMAGE;
    record.iItem = item;
    if (!Write(&record, sizeof(record))) return -1;
    if (!SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(memory_))) return -1;
    if (!Read(&record, sizeof(record))) return -1;
    return record.iImage;
}

POINT RemoteListView::ItemPosition(int item) const {
    POINT point{-1, -1};
    if (!memory_) return point;
    SendMessageA(list_, LVM_GETITEMPOSITION, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(memory_));
    Read(&point, sizeof(point));
    return point;
}

bool RemoteListView::IsTicked(int item) const {
    auto state = static_cast<UINT>(
        SendMessageA(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK));
    return (state >> 12) == 2;
}

void RemoteListView::SetTicked(int item, bool ticked) const {
    if (!memory_) return;
    LVITEMA record{};
    record.stateMask = LVIS_STATEIMAGEMASK;
    record.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
    if (Write(&record, sizeof(record)))
        SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(memory_));
}

void RemoteListView::Select(int item) const {
    if (!memory_) return;
    LVITEMA record{};
    record.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (Write(&record, sizeof(record)))
        SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(memory_));
    record.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (Write(&record, sizeof(record)))
        SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(memory_));
}

}  // namespace tv::testing
