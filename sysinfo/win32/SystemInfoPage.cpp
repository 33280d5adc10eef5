#include "sysinfo/win32/SystemInfoPage.h"

#include <commctrl.h>

#include "sysinfo/HardwareInventory.h"
#include "sysinfo/SystemFacts.h"
#include "sysinfo/SystemInfoContent.h"

namespace tv {

SystemInfoPage::SystemInfoPage(const Platform& platform)
    : SectionPage(IDD_SYSTEM_INFO_PAGE, platform) {}

void SystemInfoPage::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_HARDWARE_LIST, SystemInfoList);
    SystemInfoList.Attached();
}

bool SystemInfoPage::OnInitDialog() {
    SectionPage::OnInitDialog();
    SetUpList();
    if (!started_) StartGathering();
    // Gathered ahead, it may all be here already.
    TakeGathered();
    SetFocus(SystemInfoList.Handle());
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SystemInfoList.Send(LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    SystemInfoList.Send(LVM_SETSELECTIONMARK, 0, 0);
    return true;
}

void SystemInfoPage::SetUpList() {
    SystemInfoList.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    SystemInfoList.Send(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(RGB(255, 255, 255)));
    SystemInfoList.SetTextColour(RGB(0, 0, 0));
    SystemInfoList.SetRowHeight(50);
    SystemInfoList.SetFontSize(12, 0);
    // Centred columns: the row drawing places the text itself.
    SystemInfoList.InsertColumn(0, "", 55, LVCFMT_CENTER);
    SystemInfoList.InsertColumn(1, "", 560, LVCFMT_CENTER);
    for (int row = 0; row < kHardwareRowCount; ++row)
        SystemInfoList.InsertItem(row, kHardwareRowNames[row]);
    HWND list = SystemInfoList.Handle();
    SetWindowLongPtrA(list, GWL_STYLE, GetWindowLongPtrA(list, GWL_STYLE) | LVS_SHOWSELALWAYS);
}

void SystemInfoPage::GatherAhead() {
    if (!started_) StartGathering();
}

void SystemInfoPage::StartGathering() {
    // The management queries are by far the slowest part; the rest is
    // gathered beside them. Both copy the services they read.
    const Platform platform = platform_;
    auto local = [platform](const std::function<bool()>&) {
        const HardwareInventory inventory(*platform.system, *platform.drives, *platform.registry);
        return GatherLocalSystemInfo(SystemFacts(*platform.system), inventory);
    };
    auto queries = [platform](const std::function<bool()>& stop) {
        HardwareQueries queries(*platform.wmi);
        return RunManagementQueries(queries, stop);
    };
    started_ = true;
    queries_.Start(queries);
    local_.Start(local);
}

void SystemInfoPage::TakeGathered() {
    if (!hwnd_ || filled_) return;
    if (!queriesDone_) queriesDone_ = queries_.Take();
    if (!localDone_) localDone_ = local_.Take();
    if (!queriesDone_ || !localDone_) return;
    const SystemInfoContent content = MergeSystemInfo(*localDone_, *queriesDone_);
    SetDlgItemTextA(hwnd_, IDC_COMPUTER_NAME_LABEL, content.computer.c_str());
    SetDlgItemTextA(hwnd_, IDC_USER_NAME_LABEL, content.user.c_str());
    SetDlgItemTextA(hwnd_, IDC_OS_NAME_LABEL, content.os.c_str());
    SetDlgItemTextA(hwnd_, IDC_SERVICE_PACK_LABEL, content.servicePack.c_str());
    SetDlgItemTextA(hwnd_, IDC_UPTIME_LABEL, content.uptime.c_str());
    for (int row = 0; row < kHardwareRowCount; ++row)
        if (content.rows[row]) SystemInfoList.SetItemText(row, 1, *content.rows[row]);
    filled_ = true;
    ui::ReportPageFilled(hwnd_);
}

bool SystemInfoPage::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    if (message != WM_MEASUREITEM) return false;
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item->CtlType != ODT_LISTVIEW || static_cast<int>(item->CtlID) != IDC_HARDWARE_LIST)
        return false;
    if (!SystemInfoList.OnMeasureItem(*item)) return false;
    *result = TRUE;
    return true;
}

}  // namespace tv
