// The security tab: User Account Control and Internet Explorer without add-ons.
#pragma once

#include "controls/win32/GradientButton.h"
#include "platform/ui/Controls.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"
#include "tweaks/UacSwitch.h"

namespace tv {

class SecurityPage : public SubPage {
public:
    explicit SecurityPage(const Platform& platform);

    // Shows the policy's state: status text and the switch's icon.
    void ReadUacState();
    // Writes the opposite state, then shows what is stored.
    void ToggleUac();
    // Starts Internet Explorer with its add-ons off; does not wait for it.
    void StartBrowserWithoutAddons();

    bool UacEnabled() const { return uac_.Enabled(); }
    // The icon resource the switch shows (0 before initialisation).
    int UacIcon() const { return uacIcon_; }
    CGradientButton& UacButton() { return uacButton_; }
    CGradientButton& BrowserButton() { return browserButton_; }

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnRefresh() override { ReadUacState(); }

private:
    void ShowUacState(bool enabled);
    void SetUacIcon(int icon);

    CGradientButton browserButton_;
    CGradientButton uacButton_;
    ui::Static status_;
    UacSwitch uac_;
    int uacIcon_ = 0;
};

}  // namespace tv
