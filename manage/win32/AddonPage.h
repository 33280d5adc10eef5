// The Internet Explorer add-ons tab: the add-ons registered for the browser,
// with removal of the ticked ones and switching them off and on.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "controls/win32/GradientButton.h"
#include "manage/AddonScan.h"
#include "manage/win32/FilteredList.h"
#include "manage/win32/ListRefresh.h"
#include "manage/win32/PageSignatures.h"
#include "platform/UniqueHandle.h"
#include "platform/ui/Controls.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class AddonPage : public SubPage {
public:
    explicit AddonPage(const Platform& platform);

    // Rebuilds the list from the registry, off this thread; a scan still
    // running is dropped for the fresh one.
    void ScanAddons();
    // Removes the ticked add-ons (refusing protected ones), then rescans.
    void RemoveTickedAddons();
    // Switches the ticked add-ons off or on for the current user, then
    // rescans.
    void SwitchTickedAddons(bool enable);

    // What the list shows, top row first, read back from the control.
    std::vector<AddonRow> Rows() const;
    // Ticks or clears row `index`'s check box.
    void SetTicked(int index, bool ticked) const;
    bool IsTicked(int index) const;
    const ui::ListView& List() const { return addonList_; }
    HIMAGELIST Icons() const { return iconList_.Get(); }
    bool Filled() const override { return !scan_.Pending() && !filtered_.Pending(); }
    void TakeGathered() override;
    HWND ScanSignWindow() const { return scan_.Sign(); }

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnRefresh() override { ScanAddons(); }
    // The list's right-click menu.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    AddonRow Row(int index) const;
    void FillList(std::vector<AddonRow> rows);
    // Appends scanned row `row` as the list's next item; returns the item.
    int AppendAddon(size_t row);

    std::vector<AddonRow> TickedRows() const;

    // Right of the buttons; the row actions wait for the rows.
    ListRefresh<std::vector<AddonRow>> scan_{{296, 235, 505, 245},
                                             {IDC_ADDON_DELETE, IDC_ADDON_DISABLE, IDC_ADDON_ENABLE}};
    // The rows scanned; the list shows those the filter bar keeps.
    std::vector<AddonRow> rows_;
    PageSignatures signatures_{platform_};
    FilteredList filtered_;

    // The list only shares the image list; the page destroys it.
    ui::ImageList iconList_;
    CGradientButton refreshButton_;
    CGradientButton deleteButton_;
    CGradientButton disableButton_;
    CGradientButton enableButton_;
    ui::ListView addonList_;
};

}  // namespace tv
