#include "links/win32/DriverPage.h"

#include "links/LinkTable.h"
#include "platform/Shell.h"

namespace tv {

DriverPage::DriverPage(const Platform& platform) : SectionPage(IDD_DRIVER_PAGE, platform) {}

void DriverPage::DoDataExchange(ui::DataExchange& exchange) {
    const std::vector<LinkButton>& links = DriverLinks();
    for (size_t i = 0; i < buttons_.size() && i < links.size(); ++i)
        exchange.Control(links[i].id, buttons_[i]);
    exchange.Control(IDC_DRIVER_SOUND_GROUP, soundGroup_);
    exchange.Control(IDC_DRIVER_NETWORK_GROUP, networkGroup_);
    exchange.Control(IDC_DRIVER_DISPLAY_GROUP, displayGroup_);
}

bool DriverPage::OnInitDialog() {
    SectionPage::OnInitDialog();
    for (CXPGroupBox* group : {&displayGroup_, &soundGroup_, &networkGroup_}) {
        group->SetStyle(kGroupBoxWindow);
        group->SetBackgroundColor(RGB(255, 255, 255), RGB(255, 255, 255));
    }
    return true;
}

CXPGroupBox& DriverPage::Group(int id) {
    switch (id) {
    case IDC_DRIVER_SOUND_GROUP: return soundGroup_;
    case IDC_DRIVER_NETWORK_GROUP: return networkGroup_;
    default: return displayGroup_;
    }
}

bool DriverPage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    const LinkButton* link = FindLink(DriverLinks(), id);
    if (!link) return false;
    platform_.shell->Open(LinkAddress(*link), kSwShow);
    return true;
}

}  // namespace tv
