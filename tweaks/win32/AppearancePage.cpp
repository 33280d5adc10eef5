#include "tweaks/win32/AppearancePage.h"

#include "platform/RegistryViews.h"

namespace tv {

AppearancePage::AppearancePage(const Platform& platform)
    : SectionPage(IDD_APPEARANCE_PAGE, platform) {}

void AppearancePage::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_APPEARANCE_APPLY_BUTTON, applyButton_);
    exchange.Control(IDC_APPEARANCE_THEME_BUTTON, themeButton_);
    exchange.Control(IDC_APPEARANCE_WALLPAPER_BUTTON, wallpaperButton_);
    exchange.Control(IDC_APPEARANCE_WALLPAPER_GROUP, wallpaperGroup_);
    exchange.Control(IDC_APPEARANCE_THEME_GROUP, themeGroup_);
}

bool AppearancePage::OnInitDialog() {
    SectionPage::OnInitDialog();
    for (CXPGroupBox* group : {&wallpaperGroup_, &themeGroup_}) group->SetStyle(kGroupBoxWindow);
    for (CXPGroupBox* group : {&wallpaperGroup_, &themeGroup_})
        group->SetBackgroundColor(RGB(255, 255, 255), RGB(255, 255, 255));
    applyButton_.SetIcon(IDI_APPLY_NOW);
    themeButton_.SetIcon(IDI_APPEARANCE_THEME);
    wallpaperButton_.SetIcon(IDI_APPEARANCE_WALLPAPER);
    for (int id : {IDC_APPEARANCE_ARROW_CHECK, IDC_APPEARANCE_FEEDBACK_CHECK,
                   IDC_APPEARANCE_ICON_CACHE_CHECK, IDC_APPEARANCE_CLASSIC_SEARCH_CHECK})
        CheckDlgButton(hwnd_, id, BST_CHECKED);
    return true;
}

CGradientButton& AppearancePage::Button(int id) {
    switch (id) {
    case IDC_APPEARANCE_THEME_BUTTON: return themeButton_;
    case IDC_APPEARANCE_WALLPAPER_BUTTON: return wallpaperButton_;
    default: return applyButton_;
    }
}

DesktopTweakChoices AppearancePage::Choices() const {
    DesktopTweakChoices choices;
    choices.removeShortcutArrow = Checked(IDC_APPEARANCE_ARROW_CHECK);
    choices.removeFeedbackText = Checked(IDC_APPEARANCE_FEEDBACK_CHECK);
    choices.largerIconCache = Checked(IDC_APPEARANCE_ICON_CACHE_CHECK);
    choices.classicSearch = Checked(IDC_APPEARANCE_CLASSIC_SEARCH_CHECK);
    return choices;
}

bool AppearancePage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_APPEARANCE_WALLPAPER_BUTTON:
        ChooseWallpaper(platform_);
        return true;
    case IDC_APPEARANCE_THEME_BUTTON:
        OpenThemeSettings(platform_);
        return true;
    case IDC_APPEARANCE_APPLY_BUTTON:
        ApplyDesktopTweaks(platform_, Choices());
        return true;
    default:
        return false;
    }
}

}  // namespace tv
