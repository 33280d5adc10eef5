// The system information section: the system summary in five labels and the
// hardware list, gathered once while the page is created.
#pragma once

#include "controls/win32/SkinnedListCtrl.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class SystemInfoPage : public SectionPage {
public:
    explicit SystemInfoPage(const Platform& platform);

    const SkinnedListCtrl& List() const { return SystemInfoList; }

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void SetUpList();
    void ShowContent();

    SkinnedListCtrl SystemInfoList;
};

}  // namespace tv
