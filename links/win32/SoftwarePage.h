// The compatible software section.
#pragma once

#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class SoftwarePage : public SectionPage {
public:
    explicit SoftwarePage(const Platform& platform) : SectionPage(IDD_SOFTWARE_PAGE, platform) {}
};

}  // namespace tv
