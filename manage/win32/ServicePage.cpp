#include "manage/win32/ServicePage.h"

#include "manage/ProcessActions.h"
#include "manage/ServiceDeletion.h"
#include "manage/ServiceScan.h"
#include "manage/win32/PageIcons.h"
#include "platform/ui/Dpi.h"
#include "platform/ui/Gdi.h"

namespace tv {

namespace {

const ColumnLayout kColumns[] = {
    {"No-PID", 48, LVCFMT_LEFT},
    {"服务名称", 90, LVCFMT_LEFT},
    {"显示名称", 140, LVCFMT_LEFT},
    {"状态", 50, LVCFMT_CENTER},
    {"启动类型", 60, LVCFMT_CENTER},
    {"安全", 36, LVCFMT_CENTER},
    {"文件启动命令行-文件路径", 280, LVCFMT_LEFT},
    {"服务描述", 280, LVCFMT_LEFT},
    {"错误类型", 76, LVCFMT_CENTER},
    {"发行公司", 140, LVCFMT_LEFT},
    {"文件版本", 130, LVCFMT_LEFT},
    {"文件描述", 200, LVCFMT_LEFT},
    {"文件路径", 0, LVCFMT_LEFT},
    {"", 0, LVCFMT_LEFT},
};
static_assert(sizeof(kColumns) / sizeof(kColumns[0]) == kServiceColumnCount);

constexpr DWORD kListStyle = LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT |
                             LVS_EX_ONECLICKACTIVATE | LVS_EX_FLATSB;  // 0x163

}  // namespace

ServicePage::ServicePage(const Platform& platform) : SubPage(IDD_SERVICE_PAGE, platform) {}

void ServicePage::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_SERVICE_LIST, list_);
    exchange.Control(IDC_SERVICE_DELETE, deleteButton_);
    exchange.Control(IDC_SERVICE_REFRESH, refreshButton_);
}

bool ServicePage::OnInitDialog() {
    SubPage::OnInitDialog();
    InsertColumns(list_, kColumns, kServiceColumnCount);
    list_.SetExtendedStyle(kListStyle);
    rowIcons_.Reset(ui::ImageListCreate(ui::Scaled(16), ui::Scaled(16), ILC_COLORDDB | ILC_MASK, 1, 0));
    if (ui::Icon icon = ui::LoadScaledIcon(kServiceRowIcon, 16, 16))
        ui::ImageListReplaceIcon(rowIcons_.Get(), -1, icon.Get());
    list_.Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(rowIcons_.Get()));

    EnableDebugPrivilegeOrTell(platform_, kServicePrivilegeFailure);
    deleteButton_.SetIcon(kDeleteIcon);
    refreshButton_.SetIcon(kRefreshIcon);
    return true;
}

bool ServicePage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    if (id == IDC_SERVICE_REFRESH) {
        ServiceScan();
        return true;
    }
    if (id == IDC_SERVICE_DELETE) {
        DeleteSelectedService();
        return true;
    }
    return false;
}

void ServicePage::ServiceScan() {
    const Platform platform = platform_;
    scan_.Start(hwnd_, [platform](const std::function<bool()>& stop) {
        return tv::ServiceScan(platform, stop);
    });
}

void ServicePage::TakeGathered() {
    if (std::optional<std::vector<ListRow>> rows = scan_.Take(hwnd_)) {
        FillList(std::move(*rows));
        ui::ReportPageFilled(hwnd_);
    }
}

void ServicePage::FillList(std::vector<ListRow> rows) {
    list_.DeleteAllItems();
    rows_ = std::move(rows);
    for (const ListRow& row : rows_) {
        const int index = AppendRow(list_, row);
        // A name the code page cannot hold shows whole.
        if (index >= 0 && !row.exactName.empty()) SetItemTextW(list_, index, kServiceName, row.exactName);
    }
}

void ServicePage::DeleteSelectedService() {
    int mark = SelectionMark(list_);
    ListRow row = ReadRow(list_, mark, kServiceColumnCount);
    bool selected = mark >= 0 && mark < list_.ItemCount();
    // The list's items are the scanned rows, in order; the service is named
    // exactly, as scanned.
    if (selected && static_cast<size_t>(mark) < rows_.size())
        row.exactName = rows_[static_cast<size_t>(mark)].exactName;
    if (tv::DeleteSelectedService(platform_, selected ? &row : nullptr)) ServiceScan();
}

}  // namespace tv
