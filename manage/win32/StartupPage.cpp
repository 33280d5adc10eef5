#include "manage/win32/StartupPage.h"

#include <shellapi.h>

#include <iterator>
#include <vector>

#include "manage/StartupRemoval.h"
#include "manage/StartupScan.h"
#include "platform/CodePageText.h"
#include "platform/FileSystem.h"
#include "platform/ui/Gdi.h"
#include "platform/win32/NativePaths.h"

namespace tv {

namespace {

constexpr DWORD kListStyle = LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT |
                             LVS_EX_ONECLICKACTIVATE | LVS_EX_FLATSB;  // 0x163

struct Column {
    const char* heading;
    int width;
};
constexpr Column kColumns[] = {
    {"启动项", 160}, {"文件解析路径", 400}, {"主键", 120}, {"子键", 300}, {"", 0},
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
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
        list_.InsertColumn(i, kColumns[i].heading, kColumns[i].width);
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

int StartupPage::AddFileIcon(const std::string& file) {
    // The shell has no icon for a file that is not there, and asking it
    // costs far more than asking whether the file exists.
    if (!platform_.files->Exists(file)) return -1;
    {
        SHFILEINFOA info{};
        DWORD_PTR found = SHGetFileInfoA(NativePath(file).c_str(), 0, &info, sizeof(info),
                                         SHGFI_ICON | SHGFI_SMALLICON);
        // The shell may hand out an icon even when it reports failure.
        ui::Icon icon(info.hIcon);
        if (found != 0 && icon) return ImageList_ReplaceIcon(images_.Get(), -1, icon.Get());
    }
    return -1;
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
    FillList(*items);
    ui::ReportPageFilled(hwnd_);
    return true;
}

void StartupPage::FillList(const std::vector<StartupItem>& items) {
    list_.DeleteAllItems();
    // Each scan starts the image list afresh, so refreshing does not make
    // it grow.
    ImageList_RemoveAll(images_.Get());
    resourceIcons_.clear();
    fileIcons_.clear();
    // Drawing waits for the whole list, but only where the list is shown:
    // switched off and on while its page is hidden (the first scan runs
    // before the user opens the tab), the list stays undrawn under Wine.
    const bool shown = IsWindowVisible(list_.Handle()) != FALSE;
    if (shown) list_.Send(WM_SETREDRAW, FALSE);
    // Room for every row made at once.
    list_.Send(LVM_SETITEMCOUNT, items.size(), 0);
    for (const StartupItem& item : items) {
        int row = list_.InsertItem(list_.ItemCount(), item.name, AddIcon(item));
        if (row < 0) continue;
        list_.SetItemText(row, 1, item.path);
        list_.SetItemText(row, 2, item.root);
        list_.SetItemText(row, 3, item.subkey);
        list_.SetItemText(row, 4, item.hidden);
    }
    if (shown) list_.Send(WM_SETREDRAW, TRUE);
    InvalidateRect(list_.Handle(), nullptr, TRUE);
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
