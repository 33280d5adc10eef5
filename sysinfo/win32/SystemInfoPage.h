// The system information section: the system summary and the hardware list.
#pragma once

#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class SystemInfoPage : public SectionPage {
public:
    explicit SystemInfoPage(const Platform& platform) : SectionPage(IDD_SYSTEM_INFO_PAGE, platform) {}
};

}  // namespace tv
