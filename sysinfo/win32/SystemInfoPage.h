// The system information section: the system summary in five labels and the
// hardware list, gathered once off the user-interface thread when the page
// is created, and filled in when both halves of the gathering have come.
#pragma once

#include <optional>

#include "controls/win32/SkinnedListCtrl.h"
#include "platform/ui/Gathering.h"
#include "platform/ui/SectionPage.h"
#include "sysinfo/SystemInfoContent.h"
#include "res/resource.h"

namespace tv {

class SystemInfoPage : public SectionPage {
public:
    explicit SystemInfoPage(const Platform& platform);

    const SkinnedListCtrl& List() const { return SystemInfoList; }
    void GatherAhead() override;
    void TakeGathered() override;
    bool Filled() const override { return filled_; }

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void SetUpList();
    void StartGathering();

    SkinnedListCtrl SystemInfoList;
    std::optional<ManagementRows> queriesDone_;
    std::optional<SystemInfoContent> localDone_;
    bool started_ = false;
    bool filled_ = false;
    ui::Gathering<ManagementRows> queries_;
    ui::Gathering<SystemInfoContent> local_;
};

}  // namespace tv
