// The processes tab.
#pragma once

#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class ProcessPage : public SubPage {
public:
    explicit ProcessPage(const Platform& platform) : SubPage(IDD_PROCESS_PAGE, platform) {}

protected:
    void OnRefresh() override {}
};

}  // namespace tv
