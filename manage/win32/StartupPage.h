// The startup items tab.
#pragma once

#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class StartupPage : public SubPage {
public:
    explicit StartupPage(const Platform& platform) : SubPage(IDD_STARTUP_PAGE, platform) {}

protected:
    void OnRefresh() override {}
};

}  // namespace tv
