#include "manage/win32/AddonPage.h"

#include <iterator>

#include "manage/AddonRemoval.h"
#include "manage/AddonSwitch.h"
#include "manage/SignatureColumn.h"
#include "manage/win32/ListContextMenu.h"
#include "manage/win32/ListRowsView.h"
#include "platform/SystemProbe.h"
#include "platform/TextCodec.h"
#include "platform/ui/Dpi.h"
#include "platform/ui/Gdi.h"

namespace tv {

namespace {

// Grid lines, check boxes, full-row select, one-click activate, flat
// scroll bars.
constexpr DWORD kAddonListStyle = 0x165;
// The add-on image at each of the four image indexes the sources use.
constexpr int kAddonImageCount = 4;

const ColumnLayout kColumns[] = {
    {"CLSID", 156, LVCFMT_LEFT},
    {"插件名称", 130, LVCFMT_LEFT},
    {"类型 (如果不需要,建议删除)", 180, LVCFMT_CENTER},
    {"对应文件路径", 360, LVCFMT_LEFT},
    {kSignatureHeading, 200, LVCFMT_LEFT},
};
constexpr int kSignatureColumn = 4;

// Before the name of a row the current user switched off.
const char kDisabledMark[] = "[已禁用] ";
// Item data: the views in the low and high words, this bit for a disabled
// row (view bits never use it).
constexpr LPARAM kDisabledBit = 1;

}  // namespace

AddonPage::AddonPage(const Platform& platform)
    : SubPage(IDD_ADDON_PAGE, platform),
      filtered_(kSignatureColumn,
                {[this](size_t row) { return AppendAddon(row); },
                 [this](size_t row) -> std::vector<std::string_view> {
                     const AddonRow& addon = rows_[row];
                     return {addon.name.Shown(), addon.displayName, addon.typeText, addon.file};
                 }}) {}

void AddonPage::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_ADDON_REFRESH, refreshButton_);
    exchange.Control(IDC_ADDON_DELETE, deleteButton_);
    exchange.Control(IDC_ADDON_DISABLE, disableButton_);
    exchange.Control(IDC_ADDON_ENABLE, enableButton_);
    exchange.Control(IDC_ADDON_LIST, addonList_);
}

bool AddonPage::OnInitDialog() {
    SubPage::OnInitDialog();

    InsertColumns(addonList_, kColumns, std::size(kColumns));
    addonList_.SetExtendedStyle(kAddonListStyle);

    iconList_.Reset(ui::ImageListCreate(ui::Scaled(16), ui::Scaled(16), ILC_COLORDDB | ILC_MASK, 1, 0));
    if (iconList_) {
        ui::Icon icon = ui::LoadScaledIcon(IDI_ADDON_ITEM, 16, 16);
        // Added once and copied: adding an icon costs far more than copying
        // an image within the list.
        if (ui::ImageListReplaceIcon(iconList_.Get(), -1, icon.Get()) == 0 &&
            ui::ImageListSetImageCount(iconList_.Get(), kAddonImageCount)) {
            for (int i = 1; i < kAddonImageCount; ++i)
                ui::ImageListCopy(iconList_.Get(), i, iconList_.Get(), 0, ILCF_MOVE);
        }
        addonList_.Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(iconList_.Get()));
    }

    deleteButton_.SetIcon(IDI_ADDON_DELETE);
    disableButton_.SetIcon(IDI_ADDON_DISABLE);
    enableButton_.SetIcon(IDI_ADDON_ENABLE);
    refreshButton_.SetIcon(IDI_ADDON_REFRESH);
    return true;
}

bool AddonPage::OnCommand(int id, int code, HWND) {
    if (IsFilterBarCommand(id, code)) {
        filtered_.Refilter(hwnd_, addonList_);
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_ADDON_REFRESH:
        ScanAddons();
        return true;
    case IDC_ADDON_DELETE:
        RemoveTickedAddons();
        return true;
    case IDC_ADDON_DISABLE:
        SwitchTickedAddons(false);
        return true;
    case IDC_ADDON_ENABLE:
        SwitchTickedAddons(true);
        return true;
    default:
        return false;
    }
}

void AddonPage::ScanAddons() {
    const Platform platform = platform_;
    filtered_.Stop();
    scan_.Start(hwnd_, [platform](const std::function<bool()>& stop) {
        return tv::ScanAddons(*platform.registry, platform.system->Is64BitSystem(), *platform.codec, stop);
    });
}

void AddonPage::TakeGathered() {
    if (hwnd_ && filtered_.Take(hwnd_, addonList_)) ui::ReportPageFilled(hwnd_);
    if (std::optional<std::vector<AddonRow>> rows = scan_.Take(hwnd_)) {
        FillList(std::move(*rows));
        ui::ReportPageFilled(hwnd_);
    }
}

void AddonPage::FillList(std::vector<AddonRow> scanned) {
    rows_ = std::move(scanned);
    filtered_.Fill(hwnd_, addonList_, signatures_, rows_.size(),
                   [this](size_t row) -> const std::string& { return rows_[row].file; });
}

int AddonPage::AppendAddon(size_t index) {
    const AddonRow& row = rows_[index];
    int item = addonList_.InsertItem(addonList_.ItemCount(), row.name.Shown(), row.image);
    if (item < 0) return item;
    // The row's views ride along as its item data: nothing to show.
    LVITEMA data{};
    data.mask = LVIF_PARAM;
    data.iItem = item;
    data.lParam = static_cast<LPARAM>(row.view | row.classView << 16) | (row.disabled ? kDisabledBit : 0);
    addonList_.Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    addonList_.SetItemText(item, 1, row.disabled ? kDisabledMark + row.displayName : row.displayName);
    addonList_.SetItemText(item, 2, row.typeText);
    addonList_.SetItemText(item, 3, row.file);
    // A name the code page cannot hold shows whole.
    if (platform_.codec->AnsiToWide(row.name.Shown()) != row.name.Exact(*platform_.codec))
        SetItemTextW(addonList_, item, 0, row.name.Stored());
    return item;
}

std::vector<AddonRow> AddonPage::TickedRows() const {
    std::vector<AddonRow> ticked;
    for (int i = 0; i < addonList_.ItemCount(); ++i)
        if (IsTicked(i)) ticked.push_back(Row(i));
    return ticked;
}

void AddonPage::RemoveTickedAddons() {
    // The rows stay in place while they are worked through; the rescan
    // drops the removed ones.
    RemoveAddons(platform_, TickedRows());
    ScanAddons();
}

void AddonPage::SwitchTickedAddons(bool enable) {
    SwitchAddons(platform_, TickedRows(), enable);
    ScanAddons();
}

AddonRow AddonPage::Row(int index) const {
    AddonRow row;
    row.displayName = addonList_.ItemText(index, 1);
    row.typeText = addonList_.ItemText(index, 2);
    row.file = addonList_.ItemText(index, 3);
    LVITEMA item{};
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    if (addonList_.Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
        row.image = item.iImage;
        row.disabled = (item.lParam & kDisabledBit) != 0;
        row.view = static_cast<std::uint32_t>(item.lParam & ~kDisabledBit) & 0xFFFF;
        row.classView = static_cast<std::uint32_t>(item.lParam) >> 16;
    }
    // The name as the registry gives it, without the mark.
    const std::string mark = kDisabledMark;
    if (row.disabled && row.displayName.compare(0, mark.size(), mark) == 0)
        row.displayName.erase(0, mark.size());
    // The exact name is the scan's.
    const size_t scanned = filtered_.RowOf(index);
    row.name = EntryName(addonList_.ItemText(index, 0),
                         scanned < rows_.size() ? rows_[scanned].name.Stored() : std::u16string());
    return row;
}

std::vector<AddonRow> AddonPage::Rows() const {
    std::vector<AddonRow> rows;
    for (int i = 0; i < addonList_.ItemCount(); ++i) rows.push_back(Row(i));
    return rows;
}

bool AddonPage::IsTicked(int index) const {
    // State image 2 is the ticked box, 1 the empty one.
    auto state = static_cast<UINT>(
        addonList_.Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
    return (state >> 12) == 2;
}

void AddonPage::SetTicked(int index, bool ticked) const {
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
    addonList_.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool AddonPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
    const ListMenuRows rows{3, [this](int row) -> std::optional<RegistryPlace> {
                                const AddonRow shown = Row(row);
                                return AddonPlace(AddonSourceByType(shown.typeText), ListCellW(addonList_, row, 0),
                                                  shown.view);
                            }, "IE插件列表.txt"};
    return HandleListContextMenu(platform_, hwnd_, addonList_, rows, message, wParam, lParam);
}

}  // namespace tv
