// The startup items tab: every autostart entry with the file it runs and
// where it is stored; selected entries can be removed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "controls/win32/GradientButton.h"
#include "manage/StartupItem.h"
#include "manage/StartupRemoval.h"
#include "platform/UniqueHandle.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"
#include "manage/win32/FilteredList.h"
#include "manage/win32/ListRefresh.h"
#include "manage/win32/PageSignatures.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {


class StartupPage : public SubPage {
public:
    explicit StartupPage(const Platform& platform);

    // Rebuilds the list from the system, off this thread; a scan still
    // running is dropped for the fresh one.
    void StartupScan();
    // Removes the entries of the selected rows (or refuses protected ones),
    // then rebuilds the list unless every one was refused.
    void RemoveStartupItem();
    // Switches the entries of the selected rows off, or back on, then
    // rebuilds the list unless nothing changed.
    void DisableStartupItems();
    void EnableStartupItems();

    const ui::ListView& List() const { return list_; }
    HIMAGELIST Images() const { return images_.Get(); }
    CGradientButton& RemoveButton() { return removeButton_; }
    CGradientButton& RefreshButton() { return refreshButton_; }
    CGradientButton& DisableButton() { return disableButton_; }
    CGradientButton& EnableButton() { return enableButton_; }

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnRefresh() override { StartupScan(); }
    void OnRefreshInBackground() override;
    bool OnNotify(const NMHDR& header, LRESULT* result) override;
    // The list's right-click menu.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

public:
    bool Filled() const override { return !scan_.Pending() && !filtered_.Pending(); }
    // The sign of a long scan while it shows; null otherwise.
    HWND ScanSignWindow() const { return scan_.Sign(); }
    // The scan made at start begins before the page's window exists.
    void GatherAhead() override;
    void TakeGathered() override;

    // What one scan shows: the rows, and their icons, loaded where the scan
    // runs so the shell's icon look-ups stay off the user-interface thread.
    struct ScannedRows {
        std::vector<StartupItem> items;
        // One per distinct icon, in the order of first use.
        std::vector<ui::Icon> icons;
        // Per item: its index in `icons`, -1 for none.
        std::vector<int> rowIcon;
    };
    // Stops early, with what it has, once `stop` says so.
    static ScannedRows ScanRows(const Platform& platform, const std::function<bool()>& stop);

private:
    void StartScan();
    // Rebuilds the list from scanned rows.
    void FillList(ScannedRows scanned);
    // The texts of every selected row, read before anything changes.
    std::vector<StartupRowTexts> SelectedRows() const;

    ui::ListView list_;
    CGradientButton removeButton_;
    CGradientButton refreshButton_;
    CGradientButton disableButton_;
    CGradientButton enableButton_;
    ui::ImageList images_;
    // The rows scanned: the list asks for the texts of those it shows.
    std::vector<StartupItem> rows_;
    // Per row: its image in the list's image list, -1 for none.
    std::vector<int> rowImages_;
    PageSignatures signatures_{platform_};
    FilteredList filtered_;
    // Right of the buttons; removal waits for the rows.
    ListRefresh<ScannedRows> scan_{{406, 234, 505, 244},
                                   {IDC_STARTUP_REMOVE, IDC_STARTUP_DISABLE, IDC_STARTUP_ENABLE}};
};

}  // namespace tv
