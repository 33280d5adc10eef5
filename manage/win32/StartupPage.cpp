#include "manage/win32/StartupPage.h"

#include <shellapi.h>

#include <objbase.h>

#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "manage/SharedIconKey.h"
#include "manage/StartupDisable.h"
#include "manage/StartupRemoval.h"
#include "manage/SignatureColumn.h"
#include "manage/StartupScan.h"
#include "manage/win32/ListContextMenu.h"
#include "manage/win32/ListRowsView.h"
#include "platform/CodePageText.h"
#include "platform/FileSystem.h"
#include "platform/ui/Dpi.h"
#include "platform/ui/Gdi.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/NativePaths.h"

namespace tv {

namespace {

constexpr DWORD kListStyle = LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT |
                             LVS_EX_ONECLICKACTIVATE | LVS_EX_FLATSB;  // 0x163

const ColumnLayout kColumns[] = {
    {"启动项", 160, LVCFMT_LEFT},  {"文件解析路径", 400, LVCFMT_LEFT}, {"主键", 120, LVCFMT_LEFT},
    {"子键", 300, LVCFMT_LEFT}, {"", 0, LVCFMT_LEFT}, {kSignatureHeading, 200, LVCFMT_LEFT},
};
constexpr int kSignatureColumn = 5;

// Finds each row's icon during one scan: one shell look-up per file, one
// per type for types whose icon is the type's own, none for files of a
// folder found missing.
class RowIconLoader {
public:
    RowIconLoader(const Platform& platform, std::vector<ui::Icon>* icons)
        : platform_(platform), icons_(icons) {}

    // The index in the icons of the item's icon; -1 for none.
    int IconOf(const StartupItem& item) {
        if (item.iconFile.empty()) return ResourceIcon(item.iconResource);
        // Rows of one file share its icon.
        const std::string key = text::ToLower(item.iconFile);
        auto known = fileIcons_.find(key);
        if (known != fileIcons_.end()) return known->second;
        int index = FileIcon(item.iconFile);
        if (index < 0) index = ResourceIcon(item.iconResource);
        fileIcons_[key] = index;
        return index;
    }

private:
    int Keep(ui::Icon icon) {
        if (!icon) return -1;
        icons_->push_back(std::move(icon));
        return static_cast<int>(icons_->size()) - 1;
    }

    int ResourceIcon(int id) {
        auto known = resourceIcons_.find(id);
        if (known != resourceIcons_.end()) return known->second;
        return resourceIcons_[id] = Keep(ui::LoadScaledIcon(id, 16, 16));
    }

    bool FileExists(const std::string& file) {
        // Entries of uninstalled programs often share a folder that is gone:
        // once it is found missing, none of its files is looked for.
        const std::size_t slash = text::FindLastChar(file, '\\');
        const std::string folder =
            slash != text::npos && slash > 2 ? text::ToLower(file.substr(0, slash)) : std::string();
        if (!folder.empty() && missingFolders_.count(folder) != 0) return false;
        if (platform_.files->Exists(file)) return true;
        if (!folder.empty() && !platform_.files->Exists(folder)) missingFolders_.insert(folder);
        return false;
    }

    int FileIcon(const std::string& file) {
        // The shell has no icon for a file that is not there, and asking it
        // costs far more than asking whether the file exists.
        if (!FileExists(file)) return -1;
        // Files of a type without icons of their own share the type's.
        const std::string type = SharedIconKey(file);
        if (!type.empty()) {
            auto known = typeIcons_.find(type);
            if (known != typeIcons_.end()) return known->second;
        }
        SHFILEINFOA info{};
        DWORD_PTR found = SHGetFileInfoA(NativePath(file).c_str(), 0, &info, sizeof(info),
                                         SHGFI_ICON | SHGFI_SMALLICON);
        // The shell may hand out an icon even when it reports failure.
        ui::Icon icon(info.hIcon);
        if (found == 0) return -1;
        const int index = Keep(std::move(icon));
        if (!type.empty() && index >= 0) typeIcons_[type] = index;
        return index;
    }

    const Platform& platform_;
    std::vector<ui::Icon>* icons_;
    std::map<int, int> resourceIcons_;
    // By lower-cased path.
    std::map<std::string, int> fileIcons_;
    // By lower-cased extension.
    std::map<std::string, int> typeIcons_;
    // Lower-cased.
    std::set<std::string> missingFolders_;
};

}  // namespace

StartupPage::ScannedRows StartupPage::ScanRows(const Platform& platform,
                                               const std::function<bool()>& stop) {
    ScannedRows scanned;
    scanned.items = tv::StartupScan(platform, stop);
    // The shell wants COM on the thread that asks it for icons.
    const ComSession com(COINIT_APARTMENTTHREADED);
    RowIconLoader loader(platform, &scanned.icons);
    scanned.rowIcon.reserve(scanned.items.size());
    for (const StartupItem& item : scanned.items) {
        if (stop()) break;
        scanned.rowIcon.push_back(loader.IconOf(item));
    }
    return scanned;
}

StartupPage::StartupPage(const Platform& platform)
    : SubPage(IDD_STARTUP_PAGE, platform),
      filtered_(kSignatureColumn,
                {[this](size_t row) {
                     return AppendCallbackRow(list_, row < rowImages_.size() ? rowImages_[row] : -1, 0);
                 },
                 [this](size_t row) -> std::vector<std::string_view> {
                     const StartupItem& item = rows_[row];
                     return {item.name.Shown(), item.path, item.root, item.subkey};
                 }}) {}

void StartupPage::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_STARTUP_LIST, list_);
    exchange.Control(IDC_STARTUP_REMOVE, removeButton_);
    exchange.Control(IDC_STARTUP_REFRESH, refreshButton_);
    exchange.Control(IDC_STARTUP_DISABLE, disableButton_);
    exchange.Control(IDC_STARTUP_ENABLE, enableButton_);
}

bool StartupPage::OnInitDialog() {
    SubPage::OnInitDialog();
    removeButton_.SetIcon(IDI_STARTUP_REMOVE);
    refreshButton_.SetIcon(IDI_STARTUP_REFRESH);
    InsertColumns(list_, kColumns, std::size(kColumns));
    list_.SetExtendedStyle(kListStyle);
    UseUnicodeText(list_);
    // Masked, so the icons keep their transparent corners on the white rows.
    images_.Reset(ui::ImageListCreate(ui::Scaled(16), ui::Scaled(16), ILC_COLOR24 | ILC_MASK, 0, 0));
    list_.Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.Get()));
    return true;
}

bool StartupPage::OnCommand(int id, int code, HWND) {
    if (IsFilterBarCommand(id, code)) {
        filtered_.Refilter(hwnd_, list_);
        return true;
    }
    if (code != BN_CLICKED) return false;
    if (id == IDC_STARTUP_REFRESH) {
        StartupScan();
        return true;
    }
    if (id == IDC_STARTUP_REMOVE) {
        RemoveStartupItem();
        return true;
    }
    if (id == IDC_STARTUP_DISABLE) {
        DisableStartupItems();
        return true;
    }
    if (id == IDC_STARTUP_ENABLE) {
        EnableStartupItems();
        return true;
    }
    return false;
}

void StartupPage::StartupScan() { StartScan(); }

void StartupPage::StartScan() {
    const Platform platform = platform_;
    filtered_.Stop();
    scan_.Start(hwnd_, [platform](const std::function<bool()>& stop) { return ScanRows(platform, stop); });
}

void StartupPage::GatherAhead() {
    if (!hwnd_ && !scan_.Pending()) StartScan();
}

void StartupPage::OnRefreshInBackground() {
    // Begun ahead of this window, the scan may be done already.
    if (!scan_.Pending()) StartScan();
    TakeGathered();
}

void StartupPage::TakeGathered() {
    if (!hwnd_) return;
    if (filtered_.Take(hwnd_, list_)) ui::ReportPageFilled(hwnd_);
    std::optional<ScannedRows> scanned = scan_.Take(hwnd_);
    if (!scanned) return;
    FillList(std::move(*scanned));
    ui::ReportPageFilled(hwnd_);
}

void StartupPage::FillList(ScannedRows scanned) {
    rows_ = std::move(scanned.items);
    // Each scan starts the image list afresh, so refreshing does not make
    // it grow.
    ui::ImageListRemoveAll(images_.Get());
    std::vector<int> imageOf;
    imageOf.reserve(scanned.icons.size());
    for (const ui::Icon& icon : scanned.icons)
        imageOf.push_back(ui::ImageListReplaceIcon(images_.Get(), -1, icon.Get()));
    rowImages_.assign(rows_.size(), -1);
    for (size_t row = 0; row < rows_.size(); ++row) {
        const int icon = row < scanned.rowIcon.size() ? scanned.rowIcon[row] : -1;
        if (icon >= 0) rowImages_[row] = imageOf[static_cast<size_t>(icon)];
    }
    filtered_.Fill(hwnd_, list_, signatures_, rows_.size(),
                   [this](size_t row) -> const std::string& { return rows_[row].path; });
}

bool StartupPage::OnNotify(const NMHDR& header, LRESULT* result) {
    if (header.idFrom != IDC_STARTUP_LIST) return false;
    if (!AnswerTextRequest(header, [this](int index, int column) -> const std::string* {
            const size_t row = filtered_.RowOf(index);
            if (row >= rows_.size()) return nullptr;
            const StartupItem& item = rows_[row];
            switch (column) {
            case 0: return &item.name.Shown();
            case 1: return &item.path;
            case 2: return &item.root;
            case 3: return &item.subkey;
            case 4: return &item.hidden.Shown();
            default: return nullptr;
            }
        }, [this](int index, int column) -> const std::u16string* {
            const size_t row = filtered_.RowOf(index);
            if (row >= rows_.size()) return nullptr;
            const StartupItem& item = rows_[row];
            return column == 0 ? &item.name.Stored() : column == 4 ? &item.hidden.Stored() : nullptr;
        }))
        return false;
    *result = 0;
    return true;
}

bool StartupPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
    const ListMenuRows rows{1, [this](int row) { return StartupRowPlace(ListCellW(list_, row, 4)); }, "启动项.txt"};
    return HandleListContextMenu(platform_, hwnd_, list_, rows, message, wParam, lParam);
}

std::vector<StartupRowTexts> StartupPage::SelectedRows() const {
    std::vector<StartupRowTexts> rows;
    for (int row = -1;
         (row = static_cast<int>(list_.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                            LVNI_SELECTED))) >= 0;) {
        // What the row names exactly, in any script, is kept by the page.
        const size_t scanned = filtered_.RowOf(row);
        const bool kept = scanned < rows_.size();
        rows.push_back({EntryName(list_.ItemText(row, 0), kept ? rows_[scanned].name.Stored() : std::u16string()),
                        list_.ItemText(row, 2), list_.ItemText(row, 3),
                        EntryName(list_.ItemText(row, 4), kept ? rows_[scanned].hidden.Stored() : std::u16string())});
    }
    return rows;
}

void StartupPage::RemoveStartupItem() {
    const std::vector<StartupRowTexts> rows = SelectedRows();
    bool rescan = rows.empty();
    for (const StartupRowTexts& row : rows) {
        if (tv::RemoveStartupItem(platform_, row)) rescan = true;
    }
    if (rescan) StartupScan();
}

void StartupPage::DisableStartupItems() {
    bool rescan = false;
    for (const StartupRowTexts& row : SelectedRows())
        if (DisableStartupItem(platform_, row)) rescan = true;
    if (rescan) StartupScan();
}

void StartupPage::EnableStartupItems() {
    bool rescan = false;
    for (const StartupRowTexts& row : SelectedRows())
        if (EnableStartupItem(platform_, row)) rescan = true;
    if (rescan) StartupScan();
}

}  // namespace tv
