#include "platform/ui/SectionPage.h"

namespace tv {

SectionPage::SectionPage(int templateId, const Platform& platform)
    : ui::Dialog(templateId), PageBrush(CreateSolidBrush(RGB(255, 255, 255))),
      platform_(platform) {}

SectionPage::~SectionPage() { DestroyWindow(); }

HBRUSH SectionPage::OnCtlColor(HDC, HWND, UINT) { return PageBrush.Get(); }

void SubPage::Refresh() {
    ++refreshCount_;
    OnRefresh();
}

void SubPage::RefreshInBackground() {
    ++refreshCount_;
    OnRefreshInBackground();
}

}  // namespace tv
