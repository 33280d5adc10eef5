#include "tweaks/win32/SecurityPage.h"

#include "platform/RegistryViews.h"

#include "tweaks/BrowserLaunch.h"

namespace tv {

SecurityPage::SecurityPage(const Platform& platform)
    : SubPage(IDD_SECURITY_PAGE, platform), uac_(*platform.registry, SystemView(platform)) {}

void SecurityPage::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_SECURITY_BROWSER_BUTTON, browserButton_);
    exchange.Control(IDC_SECURITY_UAC_BUTTON, uacButton_);
    exchange.Control(IDC_SECURITY_UAC_STATUS, status_);
}

bool SecurityPage::OnInitDialog() {
    SubPage::OnInitDialog();
    // The status keeps its template text until the tab is first shown.
    SetUacIcon(IDI_SECURITY_UAC_OFF);
    browserButton_.SetIcon(IDI_SECURITY_BROWSER);
    return true;
}

bool SecurityPage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_SECURITY_UAC_BUTTON:
        ToggleUac();
        return true;
    case IDC_SECURITY_BROWSER_BUTTON:
        StartBrowserWithoutAddons();
        return true;
    default:
        return false;
    }
}

void SecurityPage::ReadUacState() { ShowUacState(uac_.Read()); }

void SecurityPage::ToggleUac() {
    // The switch re-reads what it wrote, so a failed write shows as such.
    ShowUacState(uac_.Toggle(platform_));
}

void SecurityPage::ShowUacState(bool enabled) {
    UacDisplay display = UacDisplayFor(enabled);
    status_.SetText(display.status);
    SetUacIcon(display.icon);
}

void SecurityPage::StartBrowserWithoutAddons() {
    tv::StartBrowserWithoutAddons(*platform_.environment, *platform_.shell);
}

void SecurityPage::SetUacIcon(int icon) {
    uacIcon_ = icon;
    uacButton_.SetIcon(icon);
}

}  // namespace tv
