#include "links/win32/HelpPage.h"

#include "links/HelpActions.h"

namespace tv {

HelpPage::HelpPage(const Platform& platform) : SectionPage(IDD_HELP_PAGE, platform) {}

void HelpPage::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_HELP_MAIL_BUTTON, mailButton_);
    exchange.Control(IDC_HELP_BEFORE_GROUP, beforeGroup_);
    exchange.Control(IDC_HELP_ADVISOR_GROUP, advisorGroup_);
    exchange.Control(IDC_HELP_AFTER_GROUP, afterGroup_);
    exchange.Control(IDC_HELP_SEARCH_BUTTON, searchButton_);
    exchange.Control(IDC_HELP_PARTITION_BUTTON, partitionButton_);
    exchange.Control(IDC_HELP_REQUIREMENTS_BUTTON, requirementsButton_);
    exchange.Control(IDC_HELP_RESTORE_FOLDER_BUTTON, restoreButton_);
    exchange.Control(IDC_HELP_SEARCH_EDIT, searchWords_);
    exchange.Control(IDC_HELP_ADVISOR_TEXT, advisorText_);
    exchange.Control(IDC_HELP_BANNER, banner_);
}

bool HelpPage::OnInitDialog() {
    SectionPage::OnInitDialog();
    searchButton_.SetIcon(IDI_HELP_SEARCH);
    partitionButton_.SetIcon(IDI_HELP_PARTITION);
    requirementsButton_.SetIcon(IDI_HELP_REQUIREMENTS);
    mailButton_.SetIcon(IDI_HELP_MAIL);
    restoreButton_.SetIcon(IDI_HELP_RESTORE_FOLDER);
    CXPGroupBox* groups[] = {&beforeGroup_, &advisorGroup_, &afterGroup_};
    for (CXPGroupBox* group : groups) group->SetStyle(kGroupBoxWindow);
    for (CXPGroupBox* group : groups) group->SetBackgroundColor(RGB(255, 255, 255), RGB(255, 255, 255));
    banner_.SetText(HelpBannerText());
    return true;
}

CGradientButton& HelpPage::Button(int id) {
    switch (id) {
    case IDC_HELP_SEARCH_BUTTON: return searchButton_;
    case IDC_HELP_PARTITION_BUTTON: return partitionButton_;
    case IDC_HELP_REQUIREMENTS_BUTTON: return requirementsButton_;
    case IDC_HELP_RESTORE_FOLDER_BUTTON: return restoreButton_;
    default: return mailButton_;
    }
}

CXPGroupBox& HelpPage::Group(int id) {
    switch (id) {
    case IDC_HELP_BEFORE_GROUP: return beforeGroup_;
    case IDC_HELP_ADVISOR_GROUP: return advisorGroup_;
    default: return afterGroup_;
    }
}

bool HelpPage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_HELP_SEARCH_BUTTON:
        SiteSearch(platform_, codec_, searchWords_.Text());
        return true;
    case IDC_HELP_MAIL_BUTTON:
        SupportMail(platform_);
        return true;
    case IDC_HELP_REQUIREMENTS_BUTTON:
        ShowHardwareRequirements(platform_);
        return true;
    case IDC_HELP_RESTORE_FOLDER_BUTTON:
        OpenRestoreFolder(platform_);
        return true;
    case IDC_HELP_PARTITION_BUTTON:
        advisorText_.SetText(RecommendPartition(*platform_.drives));
        return true;
    default:
        return false;
    }
}

}  // namespace tv
