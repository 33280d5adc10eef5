// The help section with the site search, the support mail and the install
// advisor.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/SectionPage.h"
#include "platform/win32/Win32TextCodec.h"
#include "res/resource.h"

namespace tv {

class HelpPage : public SectionPage {
public:
    explicit HelpPage(const Platform& platform);

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    ui::Button mailButton_;          // 1034
    ui::Button beforeGroup_;         // 1032
    ui::Button advisorGroup_;        // 1033
    ui::Button afterGroup_;          // 1031
    ui::Button searchButton_;        // 1009
    ui::Button partitionButton_;     // 1012
    ui::Button requirementsButton_;  // 1011
    ui::Edit searchWords_;           // 1008
    ui::Static advisorText_;         // 1067
    ui::Static banner_;
    Win32TextCodec codec_;
};

}  // namespace tv
