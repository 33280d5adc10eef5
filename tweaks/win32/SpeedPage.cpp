#include "tweaks/win32/SpeedPage.h"

#include "platform/RegistryViews.h"

namespace tv {

namespace {
const int kCheckBoxes[] = {IDC_SPEED_APP_RESPONSE, IDC_SPEED_SERVICE_TIMEOUT, IDC_SPEED_PREFETCH,
                           IDC_SPEED_SHUTDOWN, IDC_SPEED_DLL_UNLOAD};
}  // namespace

SpeedPage::SpeedPage(const Platform& platform) : SectionPage(IDD_SPEED_PAGE, platform) {}

void SpeedPage::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_SPEED_APPLY, apply_);
    exchange.Control(IDC_SPEED_BOX_SERVICE, serviceBox_);
    exchange.Control(IDC_SPEED_BOX_PREFETCH, prefetchBox_);
    exchange.Control(IDC_SPEED_BOX_SHUTDOWN, shutdownBox_);
    exchange.Control(IDC_SPEED_BOX_DLL, dllBox_);
    exchange.Control(IDC_SPEED_BOX_APP, appBox_);
}

CXPGroupBox& SpeedPage::Box(int id) {
    switch (id) {
    case IDC_SPEED_BOX_SERVICE: return serviceBox_;
    case IDC_SPEED_BOX_PREFETCH: return prefetchBox_;
    case IDC_SPEED_BOX_SHUTDOWN: return shutdownBox_;
    case IDC_SPEED_BOX_DLL: return dllBox_;
    default: return appBox_;
    }
}

bool SpeedPage::OnInitDialog() {
    SectionPage::OnInitDialog();
    apply_.SetIcon(IDI_SPEED_APPLY);
    CXPGroupBox* boxes[] = {&serviceBox_, &prefetchBox_, &shutdownBox_, &dllBox_, &appBox_};
    for (CXPGroupBox* box : boxes) box->SetStyle(kGroupBoxWindow);
    for (CXPGroupBox* box : boxes) box->SetBackgroundColor(RGB(255, 255, 255), RGB(255, 255, 255));
    for (int id : kCheckBoxes) CheckDlgButton(hwnd_, id, BST_CHECKED);
    return true;
}

SpeedTweakChoices SpeedPage::Choices() const {
    auto checked = [this](int id) { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; };
    SpeedTweakChoices choices;
    choices.appResponse = checked(IDC_SPEED_APP_RESPONSE);
    choices.serviceTimeout = checked(IDC_SPEED_SERVICE_TIMEOUT);
    choices.prefetch = checked(IDC_SPEED_PREFETCH);
    choices.shutdown = checked(IDC_SPEED_SHUTDOWN);
    choices.dllUnload = checked(IDC_SPEED_DLL_UNLOAD);
    return choices;
}

void SpeedPage::Apply() {
    SpeedTweakChoices choices = Choices();
    if (!ApplySpeedTweaks(platform_, choices)) return;
    SetDlgItemTextA(hwnd_, IDC_SPEED_STATUS, kSpeedTweaksDoneText);
}

bool SpeedPage::OnCommand(int id, int code, HWND) {
    if (id == IDC_SPEED_APPLY && code == BN_CLICKED) {
        Apply();
        return true;
    }
    return false;
}

}  // namespace tv
