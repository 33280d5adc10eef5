// The services tab: every Win32 service with its state, configuration,
// protection and file data; deletes the selected service after asking.
#pragma once

#include <vector>

#include "controls/win32/GradientButton.h"
#include "manage/win32/ListRefresh.h"
#include "manage/win32/ListRowsView.h"
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

    const ui::ListView& List() const { return list_; }
    bool Filled() const override { return !scan_.Pending(); }
    void TakeGathered() override;
    HWND ScanSignWindow() const { return scan_.Sign(); }

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnRefresh() override { ServiceScan(); }

private:
    void FillList(std::vector<ListRow> rows);

    // Right of the buttons; deletion waits for the rows.
    ListRefresh<std::vector<ListRow>> scan_{{123, 236, 505, 246}, {IDC_SERVICE_DELETE}};
    std::vector<ListRow> rows_;
    ui::ImageList rowIcons_;
    ui::ListView list_;
    CGradientButton deleteButton_;
    CGradientButton refreshButton_;
};

}  // namespace tv
