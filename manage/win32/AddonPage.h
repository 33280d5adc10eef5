// The Internet Explorer add-ons tab.
#pragma once

#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class AddonPage : public SubPage {
public:
    explicit AddonPage(const Platform& platform) : SubPage(IDD_ADDON_PAGE, platform) {}

protected:
    void OnRefresh() override {}
};

}  // namespace tv
