// The help section with the site search, the support mail and the install
// advisor.
#pragma once

#include "controls/GroupBoxLayout.h"
#include "controls/win32/GradientButton.h"
#include "controls/win32/XPGroupBox.h"
#include "platform/ui/Controls.h"
#include "platform/ui/SectionPage.h"
#include "platform/win32/Win32TextCodec.h"
#include "res/resource.h"

namespace tv {

class HelpPage : public SectionPage {
public:
    explicit HelpPage(const Platform& platform);

    CGradientButton& Button(int id);
    CXPGroupBox& Group(int id);

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    CGradientButton mailButton_;          // 1034
    CXPGroupBox beforeGroup_;             // 1032
    CXPGroupBox advisorGroup_;            // 1033
    CXPGroupBox afterGroup_;              // 1031
    CGradientButton searchButton_;        // 1009
    CGradientButton partitionButton_;     // 1012
    CGradientButton requirementsButton_;  // 1011
    CGradientButton restoreButton_;       // 1080, the restore folder
    ui::Edit searchWords_;           // 1008
    ui::Static advisorText_;         // 1067
    ui::Static banner_;
    Win32TextCodec codec_;
};

}  // namespace tv
