// The services tab: every Win32 service with its state, configuration,
// protection and file data; deletes the selected service after asking, sets
// its start type, starts and stops it (off this thread, the page's buttons
// held meanwhile).
#pragma once

#include <string>
#include <vector>

#include "controls/win32/GradientButton.h"
#include "manage/win32/FilteredList.h"
#include "manage/win32/ListRefresh.h"
#include "manage/win32/ListRowsView.h"
#include "manage/win32/PageSignatures.h"
#include "platform/ui/Controls.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class ServicePage : public SubPage {
public:
    explicit ServicePage(const Platform& platform);

    // Lists every service anew, unprotected first, off this thread; a
    // scan still running is dropped for the fresh one.
    void ServiceScan();
    // Asks, deletes the service at the selection mark, rescans.
    void DeleteSelectedService();
    // Sets the selected service's start type, rescans.
    void SetStartType(std::uint32_t startType);
    // Starts or stops the selected service off this thread; once it has
    // its new state (or the wait is over) says what went wrong, rescans.
    void ChangeRunState(bool start);

    const ui::ListView& List() const { return list_; }
    bool Filled() const override { return !scan_.Pending() && !run_.Pending() && !filtered_.Pending(); }
    bool RunPending() const { return run_.Pending(); }
    void TakeGathered() override;
    HWND ScanSignWindow() const { return scan_.Sign(); }

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnRefresh() override { ServiceScan(); }
    // The list's right-click menu.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void FillList(std::vector<ListRow> rows);
    // The selected row as scanned, exactly named; false when none.
    bool SelectedRow(ListRow* row) const;
    void EnableActions(bool enable);

    // Right of the buttons; every row action waits for the rows.
    ListRefresh<std::vector<ListRow>> scan_{
        {404, 236, 505, 246},
        {IDC_SERVICE_DELETE, IDC_SERVICE_AUTO, IDC_SERVICE_MANUAL, IDC_SERVICE_DISABLE,
         IDC_SERVICE_START, IDC_SERVICE_STOP}};
    // A start or stop under way: what to tell once it is over.
    ui::Gathering<std::string> run_;
    // The rows scanned; the list shows those the filter bar keeps.
    std::vector<ListRow> rows_;
    PageSignatures signatures_{platform_};
    FilteredList filtered_;
    ui::ImageList rowIcons_;
    ui::ListView list_;
    CGradientButton deleteButton_;
    CGradientButton refreshButton_;
    CGradientButton autoButton_;
    CGradientButton manualButton_;
    CGradientButton disableButton_;
    CGradientButton startButton_;
    CGradientButton stopButton_;
};

}  // namespace tv
