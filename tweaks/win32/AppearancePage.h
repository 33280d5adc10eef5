// The appearance tweaks section: wallpaper, glass look, desktop tweaks.
#pragma once

#include "controls/GroupBoxLayout.h"
#include "controls/win32/GradientButton.h"
#include "controls/win32/XPGroupBox.h"
#include "platform/ui/Controls.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"
#include "tweaks/AppearanceTweaks.h"

namespace tv {

class AppearancePage : public SectionPage {
public:
    explicit AppearancePage(const Platform& platform);

    // The four check boxes as they stand now.
    DesktopTweakChoices Choices() const;

    CGradientButton& Button(int id);
    CXPGroupBox& Group(int id) { return id == IDC_APPEARANCE_THEME_GROUP ? themeGroup_ : wallpaperGroup_; }

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    bool Checked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }

    CGradientButton applyButton_;      // 1037
    CGradientButton themeButton_;      // 1036
    CGradientButton wallpaperButton_;  // 1035
    CXPGroupBox wallpaperGroup_;       // 1044
    CXPGroupBox themeGroup_;           // 1043
};

}  // namespace tv
