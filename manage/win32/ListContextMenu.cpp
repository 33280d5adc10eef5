#include "manage/win32/ListContextMenu.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>
#include <iterator>
#include <vector>

#include "manage/FileLocation.h"
#include "manage/ListExport.h"
#include "platform/RegistryViews.h"
#include "platform/Shell.h"
#include "platform/SystemFolders.h"
#include "platform/SystemProbe.h"
#include "platform/TextCodec.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/SystemLibrary.h"

namespace tv {

namespace {

// The clipboard, open for one change and closed on every path.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardSession() {
        if (open_) CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

// A 32-bit program on 64-bit Windows names the system's own programs in
// the Windows folder only with the file system redirector off (it would
// start the 32-bit copies instead); off for this thread while it lives.
class NativeProgramNames {
public:
    explicit NativeProgramNames(bool needed) {
        if (!needed) return;
        using Disable = BOOL(WINAPI*)(PVOID*);
        auto disable = SystemFunctionAs<Disable>("kernel32.dll", "Wow64DisableWow64FsRedirection");
        active_ = disable != nullptr && disable(&old_) != FALSE;
    }
    ~NativeProgramNames() {
        if (!active_) return;
        using Revert = BOOL(WINAPI*)(PVOID);
        if (auto revert = SystemFunctionAs<Revert>("kernel32.dll", "Wow64RevertWow64FsRedirection"))
            revert(old_);
    }
    NativeProgramNames(const NativeProgramNames&) = delete;
    NativeProgramNames& operator=(const NativeProgramNames&) = delete;

private:
    PVOID old_ = nullptr;
    bool active_ = false;
};

std::u16string FromWide(const wchar_t* text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

struct ColumnInfo {
    std::u16string heading;
    bool visible = false;
};

// Every column the list's header has, however many there are now.
std::vector<ColumnInfo> Columns(const ui::ListView& list) {
    std::vector<ColumnInfo> columns;
    HWND header = reinterpret_cast<HWND>(list.Send(LVM_GETHEADER));
    const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int c = 0; c < count; ++c) {
        wchar_t text[260] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text;
        column.cchTextMax = static_cast<int>(std::size(text));
        ColumnInfo info;
        if (SendMessageW(list.Handle(), LVM_GETCOLUMNW, static_cast<WPARAM>(c),
                         reinterpret_cast<LPARAM>(&column))) {
            text[std::size(text) - 1] = L'\0';
            info.heading = FromWide(text);
            info.visible = column.cx > 0;
        }
        columns.push_back(std::move(info));
    }
    return columns;
}

TextRow RowTexts(const ui::ListView& list, int item, const std::vector<ColumnInfo>& columns,
                 bool visibleOnly) {
    TextRow row;
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (!visibleOnly || columns[c].visible) row.push_back(ListCellW(list, item, static_cast<int>(c)));
    return row;
}

std::vector<int> SelectedItems(const ui::ListView& list) {
    std::vector<int> items;
    for (int item = -1;
         (item = static_cast<int>(list.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(item), LVNI_SELECTED))) >= 0;)
        items.push_back(item);
    return items;
}

bool IsSelected(const ui::ListView& list, int item) {
    return item >= 0 &&
           (list.Send(LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

// The row the single-row items act on: the selected row under the mouse,
// else the focused selected row, else the first selected one; -1 for none.
int ActedRow(const ui::ListView& list, const POINT* clicked) {
    if (clicked != nullptr) {
        LVHITTESTINFO hit{};
        hit.pt = *clicked;
        ScreenToClient(list.Handle(), &hit.pt);
        const int item = static_cast<int>(list.Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (IsSelected(list, item)) return item;
    }
    const int focused = static_cast<int>(list.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (IsSelected(list, focused)) return focused;
    return static_cast<int>(list.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CopyRows(HWND owner, const ui::ListView& list) {
    const std::vector<ColumnInfo> columns = Columns(list);
    std::vector<TextRow> rows;
    for (int item : SelectedItems(list)) rows.push_back(RowTexts(list, item, columns, true));
    const std::u16string text = CopiedRowsText(rows);
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return;
    void* at = GlobalLock(memory.Get());
    if (at == nullptr) return;
    std::memcpy(at, text.c_str(), bytes);
    GlobalUnlock(memory.Get());
    ClipboardSession clipboard(owner);
    if (!clipboard || !EmptyClipboard()) return;
    // The clipboard owns the memory once it has taken it.
    if (SetClipboardData(CF_UNICODETEXT, memory.Get()) != nullptr) memory.Release();
}

void ShowFileLocation(const Platform& platform, const std::string& file) {
    // Handed to the user's own desktop shell, which opens Explorer with the
    // user's rights; never started from this elevated process.
    platform.shell->Launch(ExplorerAtFile(SystemFoldersOf(platform).windows, file));
}

// The editor's top item on this system before it has named one itself.
std::u16string DefaultTopItem() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? kRegeditTopItemChinese
                                                                      : kRegeditTopItemEnglish;
}

void OpenRegeditAt(const Platform& platform, const RegistryPlace& place) {
    RememberRegeditKey(*platform.registry, SystemView(platform), place, DefaultTopItem());
    const std::string editor = RegeditPath(platform);
    if (editor.empty()) return;
    const SystemFolders folders = SystemFoldersOf(platform);
    NativeProgramNames native(folders.system64 && !folders.program64);
    platform.shell->Start(editor, "\"" + editor + "\"", kSwShowNormal);
}

void ExportList(const Platform& platform, HWND page, const ui::ListView& list, const ListMenuRows& menu) {
    // Read whole before the dialog: the list may be rebuilt while it shows.
    const std::vector<ColumnInfo> columns = Columns(list);
    TextRow headings;
    for (const ColumnInfo& column : columns) headings.push_back(column.heading);
    std::vector<TextRow> rows;
    const int count = list.ItemCount();
    rows.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int item = 0; item < count; ++item) rows.push_back(RowTexts(list, item, columns, false));
    SaveListAs(platform, menu.exportName, headings, rows,
               reinterpret_cast<std::uintptr_t>(GetAncestor(page, GA_ROOT)));
}

}  // namespace

std::u16string ListCellW(const ui::ListView& list, int item, int column) {
    // Cells are rarely long: grown only for one that fills the buffer.
    for (std::size_t size = 512;; size *= 2) {
        std::vector<wchar_t> text(size, L'\0');
        LVITEMW cell{};
        cell.iSubItem = column;
        cell.pszText = text.data();
        cell.cchTextMax = static_cast<int>(size);
        const auto length = static_cast<std::size_t>(
            SendMessageW(list.Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell)));
        if (length + 1 < size || size >= 65536) {
            text.back() = L'\0';
            return FromWide(text.data());
        }
    }
}

bool HandleListContextMenu(const Platform& platform, HWND page, const ui::ListView& list,
                           const ListMenuRows& rows, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CONTEXTMENU || reinterpret_cast<HWND>(wParam) != list.Handle() || !list.Handle())
        return false;
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool keyboard = at.x == -1 && at.y == -1;
    const int row = ActedRow(list, keyboard ? nullptr : &at);
    if (keyboard) {
        // Beside the row acted on, or the list's corner.
        RECT box{};
        box.left = LVIR_BOUNDS;
        if (row < 0 || !list.Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&box)))
            box = RECT{0, 0, 0, 0};
        at = POINT{box.left, box.bottom};
        ClientToScreen(list.Handle(), &at);
    }
    const std::string file =
        row >= 0 && rows.fileColumn >= 0
            ? platform.codec->WideToAnsi(ListCellW(list, row, rows.fileColumn))
            : std::string();
    const std::optional<RegistryPlace> place =
        row >= 0 && rows.placeOf ? rows.placeOf(row) : std::nullopt;

    MenuHandle menu(CreatePopupMenu());
    if (!menu) return true;
    const auto item = [&menu](UINT id, const wchar_t* text, bool enabled) {
        AppendMenuW(menu.Get(), MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, text);
    };
    item(kMenuCopyRows, L"复制", row >= 0);
    item(kMenuOpenFileLocation, L"打开文件位置", HasFileLocation(file));
    item(kMenuOpenInRegedit, L"在注册表编辑器中定位", place.has_value());
    AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    item(kMenuExportList, L"导出列表…", true);

    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, page, nullptr));
    switch (chosen) {
    case kMenuCopyRows: CopyRows(page, list); break;
    case kMenuOpenFileLocation:
        if (HasFileLocation(file)) ShowFileLocation(platform, file);
        break;
    case kMenuOpenInRegedit:
        if (place) OpenRegeditAt(platform, *place);
        break;
    case kMenuExportList: ExportList(platform, page, list, rows); break;
    default: break;
    }
    return true;
}

}  // namespace tv
