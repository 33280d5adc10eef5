#include "links/win32/SoftwarePage.h"

#include "links/LinkTable.h"
#include "platform/Shell.h"

namespace tv {

SoftwarePage::SoftwarePage(const Platform& platform) : SectionPage(IDD_SOFTWARE_PAGE, platform) {}

void SoftwarePage::DoDataExchange(ui::DataExchange& exchange) {
    const std::vector<LinkButton>& links = SoftwareLinks();
    for (size_t i = 0; i < buttons_.size() && i < links.size(); ++i)
        exchange.Control(links[i].id, buttons_[i]);
}

bool SoftwarePage::OnInitDialog() {
    SectionPage::OnInitDialog();
    const std::vector<LinkButton>& links = SoftwareLinks();
    for (size_t i = 0; i < buttons_.size() && i < links.size(); ++i) buttons_[i].SetIcon(links[i].iconId);
    return true;
}

CGradientButton* SoftwarePage::ButtonFor(int id) {
    const std::vector<LinkButton>& links = SoftwareLinks();
    for (size_t i = 0; i < buttons_.size() && i < links.size(); ++i)
        if (links[i].id == id) return &buttons_[i];
    return nullptr;
}

bool SoftwarePage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    const LinkButton* link = FindLink(SoftwareLinks(), id);
    if (!link) return false;
    platform_.shell->Open(LinkAddress(*link), kSwShow);
    return true;
}

}  // namespace tv
