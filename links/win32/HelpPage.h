// The help section with the install advisor.
#pragma once

#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class HelpPage : public SectionPage {
public:
    explicit HelpPage(const Platform& platform) : SectionPage(IDD_HELP_PAGE, platform) {}
};

}  // namespace tv
