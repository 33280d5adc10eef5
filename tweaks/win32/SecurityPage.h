// The security tab: User Account Control and Internet Explorer without add-ons.
#pragma once

#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class SecurityPage : public SubPage {
public:
    explicit SecurityPage(const Platform& platform) : SubPage(IDD_SECURITY_PAGE, platform) {}

protected:
    void OnRefresh() override {}
};

}  // namespace tv
