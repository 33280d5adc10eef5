// The speed tweaks section: five check boxes, each explained in a rounded
// box beside it, and the button that applies them.
#pragma once

#include "controls/GroupBoxLayout.h"
#include "controls/win32/GradientButton.h"
#include "controls/win32/XPGroupBox.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"
#include "tweaks/SpeedTweaks.h"

namespace tv {

class SpeedPage : public SectionPage {
public:
    explicit SpeedPage(const Platform& platform);

    // The states of the five check boxes.
    SpeedTweakChoices Choices() const;
    // What button 1037 does.
    void Apply();

    CGradientButton& ApplyButton() { return apply_; }
    CXPGroupBox& Box(int id);

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    CGradientButton apply_;
    CXPGroupBox serviceBox_;   // 1039
    CXPGroupBox prefetchBox_;  // 1040
    CXPGroupBox shutdownBox_;  // 1041
    CXPGroupBox dllBox_;       // 1042
    CXPGroupBox appBox_;       // 1038
};

}  // namespace tv
