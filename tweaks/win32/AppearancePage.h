// The appearance tweaks section: wallpaper, glass look, desktop tweaks.
#pragma once

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

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    bool Checked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }

    ui::Button applyButton_;      // 1037
    ui::Button themeButton_;      // 1036
    ui::Button wallpaperButton_;  // 1035
    ui::Button wallpaperGroup_;   // 1044
    ui::Button themeGroup_;       // 1043
};

}  // namespace tv
