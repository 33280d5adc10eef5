// The system management section: five tab buttons over a content frame in
// which one of five sub-pages is shown.
#pragma once

#include <array>
#include <memory>

#include "app/PageLayout.h"
#include "platform/ui/SectionPage.h"
#include "controls/win32/SkinBitmapButton.h"

namespace tv {

class ManagementContainer : public SectionPage {
public:
    explicit ManagementContainer(const Platform& platform);
    ~ManagementContainer() override;

    int CurrentTab() const { return currentTab_; }
    const PixelRect& ContentRect() const { return contentRect_; }
    // The sub-page of tab 1..5, or null once deleted.
    SubPage* Page(int tab) const;
    CLatchBitmapButton& TabButton(int tab);

    // Shows the current tab's sub-page, hides the others, refreshes the
    // shown one (waiting for it, or letting it fill itself when its data
    // comes) and trims the working set.
    void ShowCurrentTab(bool waitForRefresh = true);
    // True once every sub-page has filled what it gathers in the background.
    bool Filled() const override;
    // The tab shown at start starts gathering before any window is made.
    void GatherAhead() override;
    void TakeGathered() override;

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnDestroy() override;

private:
    PixelRect contentRect_;
    int currentTab_ = 1;
    // By tab number - 1: startup items, processes, services, add-ons,
    // security.
    std::array<std::unique_ptr<SubPage>, 5> pages_;
    ui::Static frame_;
    std::array<CLatchBitmapButton, 5> tabButtons_;
};

}  // namespace tv
