#include "manage/win32/StartupPage.h"

#include <shellapi.h>

#include <iterator>
#include <vector>

#include "manage/SharedIconKey.h"
#include "manage/StartupRemoval.h"
#include "manage/StartupScan.h"
#include "manage/win32/ListRowsView.h"
#include "platform/CodePageText.h"
#include "platform/FileSystem.h"
#include "platform/ui/Gdi.h"
#include "platform/win32/NativePaths.h"

namespace tv {

namespace {

constexpr DWORD kListStyle = LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT |
                             LVS_EX_ONECLICKACTIVATE | LVS_EX_FLATSB;  // 0x163

const ColumnLayout kColumns[] = {
    {"启动项", 160, LVCFMT_LEFT},  {"文件解析路径", 400, LVCFMT_LEFT}, {"主键", 120, LVCFMT_LEFT},
    {"子键", 300, LVCFMT_LEFT}, {"", 0, LVCFMT_LEFT},
};

}  // namespace

StartupPage::StartupPage(const Platform& platform) : SubPage(IDD_STARTUP_PAGE, platform) {}

void StartupPage::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_STARTUP_LIST, list_);
    exchange.Control(IDC_STARTUP_REMOVE, removeButton_);
    exchange.Control(IDC_STARTUP_REFRESH, refreshButton_);
}

bool StartupPage::OnInitDialog() {
    SubPage::OnInitDialog();
    removeButton_.SetIcon(IDI_STARTUP_REMOVE);
    refreshButton_.SetIcon(IDI_STARTUP_REFRESH);
    InsertColumns(list_, kColumns, std::size(kColumns));
    list_.SetExtendedStyle(kListStyle);
    // Masked, so the icons keep their transparent corners on the white rows.
    images_.Reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 0));
    list_.Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.Get()));
    return true;
}

bool StartupPage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    if (id == IDC_STARTUP_REFRESH) {
        StartupScan();
        return true;
    }
    if (id == IDC_STARTUP_REMOVE) {
        RemoveStartupItem();
        return true;
    }
    return false;
}

int StartupPage::AddResourceIcon(int id) {
    auto known = resourceIcons_.find(id);
    if (known != resourceIcons_.end()) return known->second;
    ui::Icon icon = ui::LoadIconResource(id, 16, 16);
    int index = icon ? ImageList_ReplaceIcon(images_.Get(), -1, icon.Get()) : -1;
    resourceIcons_[id] = index;
    return index;
}

int StartupPage::AddIcon(const StartupItem& item) {
    if (!item.iconFile.empty()) {
        // Rows of one file share its icon: one shell look-up per file.
        const std::string key = text::ToLower(item.iconFile);
        auto known = fileIcons_.find(key);
        if (known != fileIcons_.end()) return known->second;
        int index = AddFileIcon(item.iconFile);
        if (index < 0) index = AddResourceIcon(item.iconResource);
        fileIcons_[key] = index;
        return index;
    }
    return AddResourceIcon(item.iconResource);
}

bool StartupPage::FileExists(const std::string& file) {
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

int StartupPage::AddFileIcon(const std::string& file) {
    // The shell has no icon for a file that is not there, and asking it
    // costs far more than asking whether the file exists.
    if (!FileExists(file)) return -1;
    // Files of a type without icons of their own share the type's.
    const std::string type = SharedIconKey(file);
    if (!type.empty()) {
        auto known = extensionIcons_.find(type);
        if (known != extensionIcons_.end()) return known->second;
    }
    SHFILEINFOA info{};
    DWORD_PTR found = SHGetFileInfoA(NativePath(file).c_str(), 0, &info, sizeof(info),
                                     SHGFI_ICON | SHGFI_SMALLICON);
    // The shell may hand out an icon even when it reports failure.
    ui::Icon icon(info.hIcon);
    if (found == 0 || !icon) return -1;
    int index = ImageList_ReplaceIcon(images_.Get(), -1, icon.Get());
    if (!type.empty() && index >= 0) extensionIcons_[type] = index;
    return index;
}

void StartupPage::StartupScan() {
    // A scan asked for now replaces one still running in the background.
    const bool overtaken = scanPending_;
    if (overtaken) {
        scan_.Cancel();
        scanPending_ = false;
    }
    FillList(tv::StartupScan(platform_));
    if (overtaken) ui::ReportPageFilled(hwnd_);
}

void StartupPage::OnRefreshInBackground() {
    const Platform platform = platform_;
    scanPending_ = scan_.Start(hwnd_, 0, [platform](const std::atomic<bool>&) {
        return tv::StartupScan(platform);
    });
    if (!scanPending_) StartupScan();
}

bool StartupPage::OnMessage(UINT message, WPARAM, LPARAM, LRESULT*) {
    if (message != ui::kGatheredMessage) return false;
    if (!scanPending_) return true;  // overtaken by a scan asked for since
    std::optional<std::vector<StartupItem>> items = scan_.Take();
    if (!items) return true;
    scanPending_ = false;
    FillList(std::move(*items));
    ui::ReportPageFilled(hwnd_);
    return true;
}

void StartupPage::FillList(std::vector<StartupItem> items) {
    list_.DeleteAllItems();
    rows_ = std::move(items);
    // Each scan starts the image list afresh, so refreshing does not make
    // it grow.
    ImageList_RemoveAll(images_.Get());
    resourceIcons_.clear();
    fileIcons_.clear();
    extensionIcons_.clear();
    missingFolders_.clear();
    // Drawing waits for the whole list. Hidden or shown, the list repaints
    // whole when drawing is allowed again.
    list_.Send(WM_SETREDRAW, FALSE);
    // Room for every row made at once.
    list_.Send(LVM_SETITEMCOUNT, rows_.size(), 0);
    for (const StartupItem& item : rows_) AppendCallbackRow(list_, AddIcon(item), 0);
    list_.Send(WM_SETREDRAW, TRUE);
    InvalidateRect(list_.Handle(), nullptr, TRUE);
}

bool StartupPage::OnNotify(const NMHDR& header, LRESULT* result) {
    if (header.idFrom != IDC_STARTUP_LIST) return false;
    if (!AnswerTextRequest(header, [this](int index, int column) -> const std::string* {
            if (index < 0 || static_cast<size_t>(index) >= rows_.size()) return nullptr;
            const StartupItem& item = rows_[static_cast<size_t>(index)];
            switch (column) {
            case 0: return &item.name;
            case 1: return &item.path;
            case 2: return &item.root;
            case 3: return &item.subkey;
            case 4: return &item.hidden;
            default: return nullptr;
            }
        }))
        return false;
    *result = 0;
    return true;
}

void StartupPage::RemoveStartupItem() {
    // The texts of every selected row are read before anything changes.
    std::vector<StartupRowTexts> rows;
    for (int row = -1;
         (row = static_cast<int>(list_.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                            LVNI_SELECTED))) >= 0;) {
        rows.push_back({list_.ItemText(row, 0), list_.ItemText(row, 2), list_.ItemText(row, 3),
                        list_.ItemText(row, 4)});
    }
    bool rescan = rows.empty();
    for (const StartupRowTexts& row : rows) {
        if (tv::RemoveStartupItem(platform_, row)) rescan = true;
    }
    if (rescan) StartupScan();
}

}  // namespace tv
