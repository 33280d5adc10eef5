// The services tab: every Win32 service with its state, configuration,
// protection and file data; deletes the selected service after asking.
#pragma once

#include <vector>

#include "controls/win32/GradientButton.h"
#include "manage/win32/ListRowsView.h"
#include "platform/ui/Controls.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class ServicePage : public SubPage {
public:
    explicit ServicePage(const Platform& platform);

    // Clears the list and fills it with every service, unprotected first.
    void ServiceScan();
    // Asks, deletes the service at the selection mark, rescans.
    void DeleteSelectedService();

    const ui::ListView& List() const { return list_; }

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnRefresh() override { ServiceScan(); }

private:
    std::vector<ListRow> rows_;
    ui::ImageList rowIcons_;
    ui::ListView list_;
    CGradientButton deleteButton_;
    CGradientButton refreshButton_;
};

}  // namespace tv
