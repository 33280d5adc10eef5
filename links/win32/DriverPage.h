// The driver downloads section: eleven link buttons in three categories.
#pragma once

#include <array>

#include "controls/GroupBoxLayout.h"
#include "controls/win32/GradientButton.h"
#include "controls/win32/XPGroupBox.h"
#include "platform/ui/Controls.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class DriverPage : public SectionPage {
public:
    explicit DriverPage(const Platform& platform);

    CXPGroupBox& Group(int id);

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    std::array<CGradientButton, 11> buttons_;  // in the order of DriverLinks()
    CXPGroupBox soundGroup_;                   // 1029
    CXPGroupBox networkGroup_;                 // 1030
    CXPGroupBox displayGroup_;                 // 1028
};

}  // namespace tv
