// The speed tweaks section.
#pragma once

#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class SpeedPage : public SectionPage {
public:
    explicit SpeedPage(const Platform& platform) : SectionPage(IDD_SPEED_PAGE, platform) {}
};

}  // namespace tv
