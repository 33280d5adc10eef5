#include "app/win32/ManagementContainer.h"

#include "app/Sections.h"
#include "app/win32/WindowGeometry.h"
#include "manage/win32/AddonPage.h"
#include "manage/win32/ProcessPage.h"
#include "manage/win32/ServicePage.h"
#include "manage/win32/StartupPage.h"
#include "platform/win32/WorkingSet.h"
#include "res/resource.h"
#include "tweaks/win32/SecurityPage.h"

namespace tv {

namespace {
// Orders of work, by tab number.
constexpr int kLoadOrder[] = {1, 2, 3, 4, 5};     // buttons 1012, 1014, 1013, 1015, 1016
constexpr int kCreateOrder[] = {2, 1, 3, 5, 4};   // pages 1046, 171, 172, 174, 173
constexpr int kPlaceOrder[] = {1, 2, 3, 5, 4};    // startup, processes, services, security, add-ons
constexpr int kDeleteOrder[] = {1, 2, 3, 5, 4};
// The tab shown at start: startup items.
constexpr int kFirstTab = 1;
}  // namespace

ManagementContainer::ManagementContainer(const Platform& platform)
    : SectionPage(IDD_MANAGEMENT_PAGE, platform) {
    // Allocated in the order startup items, processes, services, security,
    // add-ons.
    pages_[0] = std::make_unique<StartupPage>(platform);
    pages_[1] = std::make_unique<ProcessPage>(platform);
    pages_[2] = std::make_unique<ServicePage>(platform);
    pages_[4] = std::make_unique<SecurityPage>(platform);
    pages_[3] = std::make_unique<AddonPage>(platform);
}

ManagementContainer::~ManagementContainer() {
    // Destroy the window while the sub-pages can still be torn down in order.
    DestroyWindow();
}

SubPage* ManagementContainer::Page(int tab) const {
    return pages_.at(static_cast<size_t>(tab - 1)).get();
}

CLatchBitmapButton& ManagementContainer::TabButton(int tab) {
    return tabButtons_.at(static_cast<size_t>(tab - 1));
}

void ManagementContainer::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_TAB_CONTENT_FRAME, frame_);
    for (int tab = 1; tab <= kTabCount; ++tab) exchange.Control(Tab(tab).buttonId, TabButton(tab));
}

void ManagementContainer::GatherAhead() {
    if (SubPage* first = Page(kFirstTab)) first->GatherAhead();
}

void ManagementContainer::TakeGathered() {
    for (int tab = 1; tab <= kTabCount; ++tab)
        if (SubPage* page = Page(tab)) page->TakeGathered();
}

bool ManagementContainer::OnInitDialog() {
    SectionPage::OnInitDialog();

    for (int tab : kLoadOrder) {
        const ButtonImages& images = Tab(tab).images;
        TabButton(tab).LoadImages(images.normal, images.down, images.hover);
    }
    TabButton(1).SetDown();

    for (int tab : kCreateOrder) Page(tab)->CreatePage(hwnd_);

    contentRect_ = ScaledContentRect(ChildRectInParent(frame_.Handle(), hwnd_), kSubPageTop);
    for (int tab : kPlaceOrder) Page(tab)->Move(ToRect(contentRect_), true);

    currentTab_ = kFirstTab;
    // The first tab's page gathers beside the other pages while the window
    // comes up, and fills its list when the data comes.
    ShowCurrentTab(false);
    return true;
}

bool ManagementContainer::OnCommand(int id, int code, HWND) {
    int tab = TabOfButton(id);
    if (tab == 0 || code != BN_CLICKED) return false;
    for (int other = 1; other <= kTabCount; ++other)
        if (other != tab) TabButton(other).SetNormal();
    currentTab_ = tab;
    ShowCurrentTab();
    return true;
}

void ManagementContainer::ShowCurrentTab(bool waitForRefresh) {
    for (int tab = 1; tab <= kTabCount; ++tab) {
        if (SubPage* page = Page(tab)) page->Show(tab == currentTab_ ? SW_SHOW : SW_HIDE);
    }
    if (SubPage* page = Page(currentTab_)) {
        if (waitForRefresh)
            page->Refresh();
        else
            page->RefreshInBackground();
    }
    TrimWorkingSet();
}

bool ManagementContainer::Filled() const {
    for (int tab = 1; tab <= kTabCount; ++tab)
        if (SubPage* page = Page(tab); page && !page->Filled()) return false;
    return true;
}

void ManagementContainer::OnDestroy() {
    for (int tab : kDeleteOrder) pages_[static_cast<size_t>(tab - 1)].reset();
}

}  // namespace tv
