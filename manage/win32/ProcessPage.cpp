#include "manage/win32/ProcessPage.h"

#include <shellapi.h>

#include <cstdlib>
#include <vector>

#include "manage/ModuleList.h"
#include "manage/ProcessActions.h"
#include "manage/ProcessList.h"
#include "manage/SignatureColumn.h"
#include "manage/win32/ListContextMenu.h"
#include "manage/win32/PageIcons.h"
#include "platform/ui/Dpi.h"
#include "platform/ui/Gdi.h"
#include "platform/win32/WorkingSet.h"

namespace tv {

namespace {

const ColumnLayout kProcessColumns[] = {
    {"映像名称", 150, LVCFMT_LEFT},
    {"描述(仅参考可能是伪装)", 152, LVCFMT_LEFT},
    {"PID", 36, LVCFMT_LEFT},
    {"PPID", 36, LVCFMT_CENTER},
    {"安全", 36, LVCFMT_CENTER},
    {"窗体", 36, LVCFMT_CENTER},
    {"文件路径", 320, LVCFMT_LEFT},
    {"优先级", 48, LVCFMT_CENTER},
    {"物理内存", 74, LVCFMT_RIGHT},
    {"虚拟内存", 74, LVCFMT_RIGHT},
    {"创建该进程的用户", 140, LVCFMT_CENTER},
    {"进程启动时间", 128, LVCFMT_CENTER},
    {"线程数", 48, LVCFMT_CENTER},
    {"", 0, LVCFMT_LEFT},
    {kSignatureHeading, 200, LVCFMT_LEFT},
};
static_assert(sizeof(kProcessColumns) / sizeof(kProcessColumns[0]) == kProcessColumnCount + 1);

const ColumnLayout kModuleColumns[] = {
    {"选中进程对应模块路经", 250, LVCFMT_LEFT},
    {"发行公司信息", 140, LVCFMT_LEFT},
    {"文件版本信息", 234, LVCFMT_LEFT},
    {"安全", 36, LVCFMT_CENTER},
    {"文件创建时间", 128, LVCFMT_LEFT},
    {"文件修改时间", 128, LVCFMT_LEFT},
    {"模块名称", 90, LVCFMT_LEFT},
    {"文件相关描述", 200, LVCFMT_LEFT},
    {"大小(字节)", 74, LVCFMT_RIGHT},
    {"", 0, LVCFMT_LEFT},
    {kSignatureHeading, 200, LVCFMT_LEFT},
};
static_assert(sizeof(kModuleColumns) / sizeof(kModuleColumns[0]) == kModuleColumnCount + 1);

// The shown columns of a scanned row: all but the hidden flag at the end.
std::vector<std::string_view> ShownCells(const ListRow& row) {
    return std::vector<std::string_view>(row.cells.begin(), row.cells.end() - (row.cells.empty() ? 0 : 1));
}

constexpr DWORD kProcessListStyle = LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_CHECKBOXES |
                                    LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE |
                                    LVS_EX_FLATSB;  // 0x167
constexpr DWORD kModuleListStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT |
                                   LVS_EX_ONECLICKACTIVATE | LVS_EX_FLATSB;  // 0x161

}  // namespace

ProcessPage::ProcessPage(const Platform& platform)
    : SubPage(IDD_PROCESS_PAGE, platform),
      processes_(kProcessColumnCount,
                 {[this](size_t row) {
                      return AppendCallbackRow(processList_, RowIcon(rows_[row][kProcessPath]),
                                               rows_[row].itemData);
                  },
                  [this](size_t row) { return ShownCells(rows_[row]); }}),
      // The bar filters the processes; a process's modules are all shown.
      modules_(kModuleColumnCount,
               {[this](size_t row) { return AppendRow(moduleList_, moduleRows_[row]); },
                [this](size_t row) { return ShownCells(moduleRows_[row]); }},
               false) {}

void ProcessPage::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_PROCESS_END, endButton_);
    exchange.Control(IDC_PROCESS_REFRESH, refreshButton_);
    exchange.Control(IDC_MODULE_LIST, moduleList_);
    exchange.Control(IDC_PROCESS_LIST, processList_);
}

bool ProcessPage::OnInitDialog() {
    SubPage::OnInitDialog();
    endButton_.SetIcon(kDeleteIcon);
    refreshButton_.SetIcon(kRefreshIcon);

    InsertColumns(processList_, kProcessColumns, kProcessColumnCount + 1);
    rowIcons_.Reset(ui::ImageListCreate(ui::Scaled(16), ui::Scaled(16), ILC_COLOR24, 0, 16));
    // No mask: the icons are drawn onto the list's white.
    ui::ImageListSetBkColor(rowIcons_.Get(), RGB(255, 255, 255));
    processList_.Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(rowIcons_.Get()));
    processList_.SetExtendedStyle(kProcessListStyle);

    InsertColumns(moduleList_, kModuleColumns, kModuleColumnCount + 1);
    moduleList_.SetExtendedStyle(kModuleListStyle);

    EnableDebugPrivilegeOrTell(platform_, kProcessPrivilegeFailure);
    WriteAutoRestartShell(platform_);
    TrimWorkingSet();
    return true;
}

bool ProcessPage::OnCommand(int id, int code, HWND) {
    if (IsFilterBarCommand(id, code)) {
        processes_.Refilter(hwnd_, processList_);
        return true;
    }
    if (code != BN_CLICKED) return false;
    if (id == IDC_PROCESS_REFRESH) {
        RefreshProcessList();
        return true;
    }
    if (id == IDC_PROCESS_END) {
        EndTickedProcesses();
        return true;
    }
    return false;
}

bool ProcessPage::OnNotify(const NMHDR& header, LRESULT* result) {
    if (header.idFrom == IDC_PROCESS_LIST &&
        AnswerTextRequest(header, [this](int item, int column) -> const std::string* {
            const size_t row = processes_.RowOf(item);
            if (row >= rows_.size() || column < 0 || column >= static_cast<int>(kProcessColumnCount))
                return nullptr;
            return &rows_[row].cells[static_cast<size_t>(column)];
        })) {
        *result = 0;
        return true;
    }
    if (header.idFrom != IDC_PROCESS_LIST || header.code != static_cast<UINT>(NM_CLICK))
        return false;
    OnProcessClick();
    *result = 0;
    return true;
}

int ProcessPage::RowIconCount() const { return ui::ImageListGetImageCount(rowIcons_.Get()); }

int ProcessPage::RowIcon(const std::string& path) {
    auto known = pathImages_.find(path);
    if (known != pathImages_.end()) return known->second;
    SHFILEINFOA info{};
    DWORD_PTR found = SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info),
                                     SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    // The shell may hand out an icon even when it reports failure.
    ui::Icon icon(info.hIcon);
    if (!found || !icon) icon = ui::LoadScaledIcon(kPlainWindowIcon, 16, 16);
    int index = ui::ImageListReplaceIcon(rowIcons_.Get(), -1, icon.Get());
    pathImages_.emplace(path, index);
    return index;
}

void ProcessPage::RefreshProcessList() {
    const Platform platform = platform_;
    processes_.Stop();
    scan_.Start(hwnd_, [platform](const std::function<bool()>& stop) {
        return ListProcessRows(platform, stop);
    });
}

void ProcessPage::TakeGathered() {
    if (hwnd_) {
        const bool processesEnded = processes_.Take(hwnd_, processList_);
        if (modules_.Take(hwnd_, moduleList_) || processesEnded) ui::ReportPageFilled(hwnd_);
    }
    if (std::optional<std::vector<ListRow>> rows = scan_.Take(hwnd_)) {
        FillList(std::move(*rows));
        ui::ReportPageFilled(hwnd_);
    }
}

void ProcessPage::FillList(std::vector<ListRow> rows) {
    rows_ = std::move(rows);
    // An icon depends on the image path alone, so rows of one file share
    // it and it is kept across refreshes; the list starts afresh only once
    // it holds more files than any machine runs at a time.
    if (pathImages_.size() > kMostRowIcons) {
        ui::ImageListRemoveAll(rowIcons_.Get());
        pathImages_.clear();
    }
    processes_.Fill(hwnd_, processList_, signatures_, rows_.size(),
                    [this](size_t row) -> const std::string& { return rows_[row][kProcessPath]; });
}

void ProcessPage::OnProcessClick() {
    int mark = SelectionMark(processList_);
    if (mark < 0 || mark >= processList_.ItemCount()) {
        // Nothing was picked: nothing to tell about.
        moduleList_.DeleteAllItems();
        TrimWorkingSet();
        return;
    }
    ListRow row = ReadRow(processList_, mark, kProcessColumnCount);
    SetDlgItemTextA(hwnd_, IDC_PROCESS_HINT,
                    ProcessHint(platform_, row[kProcessImageName], row[kProcessDescription],
                                row[kProcessPath])
                        .c_str());
    // A row without an id (the system's pseudo processes) has no modules of
    // its own to show.
    ListModules(static_cast<std::uint32_t>(std::strtoul(row[kProcessId].c_str(), nullptr, 10)));
    TrimWorkingSet();
}

void ProcessPage::ListModules(std::uint32_t id) {
    moduleRows_.clear();
    if (id != 0) moduleRows_ = ListModuleRows(platform_, id);
    modules_.Fill(hwnd_, moduleList_, signatures_, moduleRows_.size(),
                  [this](size_t row) -> const std::string& { return moduleRows_[row][kModulePath]; });
    ui::ReportPageFilled(hwnd_);
}

void ProcessPage::EndTickedProcesses() {
    std::vector<ListRow> ticked;
    for (int i = 0; i < processList_.ItemCount(); ++i)
        if (IsChecked(processList_, i))
            ticked.push_back(ReadRow(processList_, i, kProcessColumnCount));
    EndProcesses(platform_, ticked);
    RefreshProcessList();
}

bool ProcessPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
    return HandleListContextMenu(platform_, hwnd_, processList_, {static_cast<int>(kProcessPath), {}, "进程列表.txt"}, message,
                                 wParam, lParam) ||
           HandleListContextMenu(platform_, hwnd_, moduleList_, {static_cast<int>(kModulePath), {}, "模块列表.txt"}, message,
                                 wParam, lParam);
}

}  // namespace tv
