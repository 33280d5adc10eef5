// The appearance tweaks section.
#pragma once

#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class AppearancePage : public SectionPage {
public:
    explicit AppearancePage(const Platform& platform) : SectionPage(IDD_APPEARANCE_PAGE, platform) {}
};

}  // namespace tv
