// The driver downloads section: eleven link buttons in three categories.
#pragma once

#include <array>

#include "platform/ui/Controls.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class DriverPage : public SectionPage {
public:
    explicit DriverPage(const Platform& platform);

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    std::array<ui::Button, 11> buttons_;  // in the order of DriverLinks()
    ui::Button soundGroup_;               // 1029
    ui::Button networkGroup_;             // 1030
    ui::Button displayGroup_;             // 1028
};

}  // namespace tv
