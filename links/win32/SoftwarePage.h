// The compatible software section: twelve link buttons with icons.
#pragma once

#include <array>

#include "controls/win32/GradientButton.h"
#include "platform/ui/Controls.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class SoftwarePage : public SectionPage {
public:
    explicit SoftwarePage(const Platform& platform);

    // The link button with control id `id`, or null.
    CGradientButton* ButtonFor(int id);

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    std::array<CGradientButton, 12> buttons_;  // in the order of SoftwareLinks()
};

}  // namespace tv
