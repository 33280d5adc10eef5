// The driver downloads section.
#pragma once

#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class DriverPage : public SectionPage {
public:
    explicit DriverPage(const Platform& platform) : SectionPage(IDD_DRIVER_PAGE, platform) {}
};

}  // namespace tv
