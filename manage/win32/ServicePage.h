// The services tab.
#pragma once

#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class ServicePage : public SubPage {
public:
    explicit ServicePage(const Platform& platform) : SubPage(IDD_SERVICE_PAGE, platform) {}

protected:
    void OnRefresh() override {}
};

}  // namespace tv
