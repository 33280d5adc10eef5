#include "manage/win32/ServicePage.h"

#include "manage/ProcessActions.h"
#include "manage/ServiceDeletion.h"
#include "manage/ServiceRunState.h"
#include "manage/ServiceStartType.h"
#include "manage/ServiceScan.h"
#include "manage/SignatureColumn.h"
#include "manage/win32/ListContextMenu.h"
#include "manage/win32/PageIcons.h"
#include "platform/ui/Dpi.h"
#include "platform/ui/Gdi.h"
#include "platform/Prompter.h"
#include "platform/ServiceDatabase.h"

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
    {kSignatureHeading, 200, LVCFMT_LEFT},
};
// After the scanned columns.
constexpr int kSignatureColumn = kServiceColumnCount;
static_assert(sizeof(kColumns) / sizeof(kColumns[0]) == kServiceColumnCount + 1);

constexpr DWORD kListStyle = LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT |
                             LVS_EX_ONECLICKACTIVATE | LVS_EX_FLATSB;  // 0x163

}  // namespace

ServicePage::ServicePage(const Platform& platform)
    : SubPage(IDD_SERVICE_PAGE, platform),
      filtered_(kSignatureColumn,
                {[this](size_t row) {
                     const ListRow& shown = rows_[row];
                     const int index = AppendRow(list_, shown);
                     // A name the code page cannot hold shows whole.
                     if (index >= 0 && !shown.name.Stored().empty())
                         SetItemTextW(list_, index, kServiceName, shown.name.Stored());
                     return index;
                 },
                 [this](size_t row) {
                     // Every column up to the file data; the path and flag are hidden.
                     const std::vector<std::string>& cells = rows_[row].cells;
                     return std::vector<std::string_view>(cells.begin(),
                                                          cells.begin() + kServiceFileDescription + 1);
                 }}) {}

void ServicePage::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_SERVICE_LIST, list_);
    exchange.Control(IDC_SERVICE_DELETE, deleteButton_);
    exchange.Control(IDC_SERVICE_REFRESH, refreshButton_);
    exchange.Control(IDC_SERVICE_AUTO, autoButton_);
    exchange.Control(IDC_SERVICE_MANUAL, manualButton_);
    exchange.Control(IDC_SERVICE_DISABLE, disableButton_);
    exchange.Control(IDC_SERVICE_START, startButton_);
    exchange.Control(IDC_SERVICE_STOP, stopButton_);
}

bool ServicePage::OnInitDialog() {
    SubPage::OnInitDialog();
    InsertColumns(list_, kColumns, sizeof(kColumns) / sizeof(kColumns[0]));
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
    if (IsFilterBarCommand(id, code)) {
        filtered_.Refilter(hwnd_, list_);
        return true;
    }
    if (code != BN_CLICKED) return false;
    if (id == IDC_SERVICE_REFRESH) {
        ServiceScan();
        return true;
    }
    switch (id) {
    case IDC_SERVICE_DELETE: DeleteSelectedService(); return true;
    case IDC_SERVICE_AUTO: SetStartType(kServiceAutoStart); return true;
    case IDC_SERVICE_MANUAL: SetStartType(kServiceDemandStart); return true;
    case IDC_SERVICE_DISABLE: SetStartType(kServiceDisabled); return true;
    case IDC_SERVICE_START: ChangeRunState(true); return true;
    case IDC_SERVICE_STOP: ChangeRunState(false); return true;
    default: return false;
    }
}

void ServicePage::ServiceScan() {
    const Platform platform = platform_;
    filtered_.Stop();
    scan_.Start(hwnd_, [platform](const std::function<bool()>& stop) {
        return tv::ServiceScan(platform, stop);
    });
}

void ServicePage::TakeGathered() {
    if (hwnd_ && filtered_.Take(hwnd_, list_)) ui::ReportPageFilled(hwnd_);
    if (std::optional<std::vector<ListRow>> rows = scan_.Take(hwnd_)) {
        FillList(std::move(*rows));
        // The scan gave the buttons back; a start or stop still holds them.
        if (run_.Pending()) EnableActions(false);
        ui::ReportPageFilled(hwnd_);
    }
    if (!hwnd_) return;
    if (std::optional<std::string> told = run_.Take()) {
        EnableActions(true);
        if (!told->empty()) platform_.prompter->Ask(Prompt{*told, "", kMbOk, 0});
        ServiceScan();
    }
}

void ServicePage::EnableActions(bool enable) {
    for (int id : {IDC_SERVICE_DELETE, IDC_SERVICE_AUTO, IDC_SERVICE_MANUAL, IDC_SERVICE_DISABLE,
                   IDC_SERVICE_START, IDC_SERVICE_STOP, IDC_SERVICE_REFRESH})
        EnableWindow(GetDlgItem(hwnd_, id), enable ? TRUE : FALSE);
}

bool ServicePage::SelectedRow(ListRow* row) const {
    const int mark = SelectionMark(list_);
    *row = ReadRow(list_, mark, kServiceColumnCount);
    if (mark < 0 || mark >= list_.ItemCount()) return false;
    // Named by its listed text, and exactly as scanned.
    const size_t scanned = filtered_.RowOf(mark);
    row->name = EntryName((*row)[kServiceName], scanned < rows_.size() ? rows_[scanned].name.Stored() : u"");
    return true;
}

void ServicePage::SetStartType(std::uint32_t startType) {
    ListRow row;
    const bool selected = SelectedRow(&row);
    if (tv::SetSelectedServiceStartType(platform_, selected ? &row : nullptr, startType))
        ServiceScan();
}

void ServicePage::ChangeRunState(bool start) {
    if (run_.Pending()) return;
    ListRow row;
    const bool selected = SelectedRow(&row);
    std::optional<RunRequest> request = PrepareRunChange(
        platform_, selected ? &row : nullptr, start ? RunChange::Start : RunChange::Stop);
    if (!request) return;
    EnableActions(false);
    const Platform platform = platform_;
    run_.Start([platform, request = *request](const std::function<bool()>& stop) {
        const WaitClock clock{[] { return static_cast<std::uint32_t>(GetTickCount()); },
                              [](std::uint32_t ms) { Sleep(ms); }};
        return tv::ChangeRunState(platform, request, stop, clock);
    });
    ui::ReportPageFilled(hwnd_);
}

void ServicePage::FillList(std::vector<ListRow> rows) {
    rows_ = std::move(rows);
    filtered_.Fill(hwnd_, list_, signatures_, rows_.size(),
                   [this](size_t row) -> const std::string& { return rows_[row][kServiceFilePath]; });
}

void ServicePage::DeleteSelectedService() {
    ListRow row;
    const bool selected = SelectedRow(&row);
    if (tv::DeleteSelectedService(platform_, selected ? &row : nullptr)) ServiceScan();
}

bool ServicePage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
    const ListMenuRows rows{static_cast<int>(kServiceFilePath), [this](int row) -> std::optional<RegistryPlace> {
                                return ServicePlace(ListCellW(list_, row, kServiceName));
                            }, "服务列表.txt"};
    return HandleListContextMenu(platform_, hwnd_, list_, rows, message, wParam, lParam);
}

}  // namespace tv
