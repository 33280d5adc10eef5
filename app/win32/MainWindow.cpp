#include "app/win32/MainWindow.h"

#include "app/Sections.h"
#include "app/VersionNotice.h"
#include "app/win32/ManagementContainer.h"
#include "app/win32/WindowGeometry.h"
#include "links/win32/DriverPage.h"
#include "links/win32/HelpPage.h"
#include "links/win32/SoftwarePage.h"
#include "platform/Clock.h"
#include "platform/Shell.h"
#include "platform/ui/Dpi.h"
#include "platform/ui/Gathering.h"
#include "platform/ui/MessageBox.h"
#include "platform/win32/BackgroundThreads.h"
#include "platform/win32/WorkingSet.h"
#include "res/resource.h"
#include "sysinfo/win32/SystemInfoPage.h"
#include "tweaks/win32/AppearancePage.h"
#include "tweaks/win32/SpeedPage.h"

namespace tv {

namespace {
// The page of each section, in the order of kSections.
template <typename Page>
std::unique_ptr<SectionPage> MakePage(const Platform& platform) {
    return std::make_unique<Page>(platform);
}
using PageFactory = std::unique_ptr<SectionPage> (*)(const Platform&);
constexpr PageFactory kPageFactories[kSectionCount] = {
    MakePage<SystemInfoPage>, MakePage<SpeedPage>,    MakePage<AppearancePage>, MakePage<ManagementContainer>,
    MakePage<DriverPage>,     MakePage<SoftwarePage>, MakePage<HelpPage>,
};
// Tooltips are added close, web site, minimize (indexes into kCaptionButtons).
constexpr int kToolTipOrder[] = {0, 2, 1};
constexpr int kBackgroundBitmap = IDB_BACKGROUND;
constexpr int kWindowCorner = 5;
// The section shown at start, whose page is made first.
constexpr int kFirstSection = 1;
// How long the end of the window waits for the threads of its pages.
constexpr DWORD kEndWaitMs = 2000;
// Posted at the end of initialisation: the rest of the start, once the
// window is up.
constexpr UINT kFinishStartMessage = WM_APP + 0x160;

}  // namespace

MainWindow::MainWindow(const Platform& platform)
    : ui::Dialog(IDD_MAIN_WINDOW),
      frameBrush_(CreateSolidBrush(RGB(255, 255, 255))),
      platform_(platform) {
    icon_ = ui::LoadIconResource(IDI_APPLICATION_ICON);
    smallIcon_ = ui::LoadIconResource(IDI_APPLICATION_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON));
    for (const SectionEntry& section : kSections)
        pages_[static_cast<size_t>(section.number - 1)] = kPageFactories[section.number - 1](platform);
}

MainWindow::~MainWindow() {
    DestroyWindow();
    // The pages have cancelled their gatherings; their threads get one
    // short wait together. If one still runs after it (a hung query), the
    // program's entry ends the process before anything it uses goes.
    EndBackgroundThreads(kEndWaitMs);
}

SectionPage* MainWindow::Page(int section) const { return pages_.at(static_cast<size_t>(section - 1)).get(); }

CLatchBitmapButton& MainWindow::SectionButton(int section) {
    return sectionButtons_.at(static_cast<size_t>(section - 1));
}

void MainWindow::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(IDC_CLOSE_BUTTON, close_);
    exchange.Control(IDC_MINIMIZE_BUTTON, minimize_);
    exchange.Control(IDC_WEB_SITE_BUTTON, webSite_);
    exchange.Control(IDC_LOGO, logo_);
    for (int section = 1; section <= kSectionCount; ++section)
        exchange.Control(Section(section).buttonId, SectionButton(section));
    exchange.Control(IDC_CONTENT_FRAME, frame_);
}

bool MainWindow::OnInitDialog() {
    ui::Dialog::OnInitDialog();

    SetText(kMainWindowTitle);
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));
    Send(WM_SETICON, ICON_SMALL,
         reinterpret_cast<LPARAM>(smallIcon_.Get() ? smallIcon_.Get() : icon_.Get()));

    // The pages are made once the window has appeared and been drawn
    // (FinishStart): the one shown at start first, then the hidden ones.
    contentRect_ = ScaledContentRect(ChildRectInParent(frame_.Handle(), hwnd_), kSectionPageTop);

    currentSection_ = kFirstSection;
    ShowCurrentSection();

    SetTimer(hwnd_, kLogoTimerId, kLogoTimerPeriod, nullptr);
    // What the pages gather comes back through this window.
    ui::SetHandOffWindow(hwnd_);
    PostMessageA(hwnd_, kFinishStartMessage, 0, 0);

    for (const SectionEntry& section : kSections)
        SectionButton(section.number).LoadImages(section.images.normal, section.images.down, section.images.hover);
    SectionButton(1).SetDown();

    CHoverBitmapButton* captionButtons[] = {&close_, &minimize_, &webSite_};
    for (size_t i = 0; i < kCaptionButtons.size(); ++i) {
        const ButtonImages& images = kCaptionButtons[i].images;
        captionButtons[i]->LoadImages(images.normal, images.down, images.hover);
    }

    CreateToolTips();
    MarkPagesFilledWhenDone();
    // The size the window was created with reaches no dialog procedure
    // (the system sends it before WM_INITDIALOG), so its region is made here.
    ApplyWindowRegion();
    return true;
}

void MainWindow::FinishStart() {
    if (allPagesCreated_) return;
    // The gatherings need no window, so they start first. Not earlier: run
    // beside the making of the main window they would only delay it.
    for (const auto& page : pages_) page->GatherAhead();
    // The window is drawn before the rest of the start keeps this thread
    // busy; then the page shown at start, drawn at once, then the others.
    UpdateWindow(hwnd_);
    SectionPage& first = *Page(kFirstSection);
    if (!first.Handle() && first.CreatePage(hwnd_)) {
        first.Move(ToRect(contentRect_), true);
        ShowCurrentSection();
        UpdateWindow(first.Handle());
    }
    for (const auto& page : pages_)
        if (!page->Handle()) page->CreatePage(hwnd_);
    for (const auto& page : pages_)
        if (page.get() != &first) page->Move(ToRect(contentRect_), true);
    // A section chosen in the meantime gets its page.
    ShowCurrentSection();
    ShowVersionNoticeIfDue();
    // Closed while the notice was up: nothing of the start goes on.
    if (Ending() || !hwnd_) return;
    // Marked once the notice is answered, so whoever waits for the filled
    // pages finds the window ready for use.
    allPagesCreated_ = true;
    MarkPagesFilledWhenDone();
}

bool MainWindow::PagesFilled() const {
    if (!allPagesCreated_) return false;
    for (const auto& page : pages_)
        if (page && !page->Filled()) return false;
    return true;
}

void MainWindow::MarkPagesFilledWhenDone() {
    if (!hwnd_) return;
    if (PagesFilled())
        SetPropA(hwnd_, ui::kPagesFilledProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1)));
    else
        RemovePropA(hwnd_, ui::kPagesFilledProperty);
}

void MainWindow::ShowVersionNoticeIfDue() {
    if (!IsVersionNoticeDue(platform_.clock->Today())) return;
    // Owned by this window, which waits beneath it.
    ui::ShowMessageWithIcon(hwnd_, kNoticeText, kNoticeCaption, IDI_APPLICATION_ICON, MB_OK);
    if (!Ending() && hwnd_) OpenHomePage(SW_SHOWMAXIMIZED);
}

void MainWindow::CreateToolTips() {
    tooltip_ = std::make_unique<ui::ToolTip>();
    if (!tooltip_->Create(hwnd_)) return;
    CHoverBitmapButton* captionButtons[] = {&close_, &minimize_, &webSite_};
    for (int index : kToolTipOrder)
        tooltip_->AddTool(captionButtons[index]->Handle(), kCaptionButtons[static_cast<size_t>(index)].tooltip);
    tooltip_->Activate(true);
}

void MainWindow::ShowCurrentSection() {
    for (int section = 1; section <= kSectionCount; ++section) {
        if (SectionPage* page = Page(section))
            page->Show(section == currentSection_ ? SW_SHOW : SW_HIDE);
    }
    TrimWorkingSet();
}

bool MainWindow::PreTranslateMessage(MSG& message) {
    if (tooltip_ && tooltip_->Handle()) tooltip_->RelayEvent(message);
    if (message.message == WM_KEYDOWN &&
        (message.wParam == VK_ESCAPE || message.wParam == VK_RETURN))
        return true;
    return ui::Dialog::PreTranslateMessage(message);
}

bool MainWindow::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;  // also STN_CLICKED of the logo
    if (int section = SectionOfButton(id)) {
        for (int other = 1; other <= kSectionCount; ++other)
            if (other != section) SectionButton(other).SetNormal();
        currentSection_ = section;
        ShowCurrentSection();
        return true;
    }
    switch (id) {
    case IDC_CLOSE_BUTTON:
        OnOK();
        return true;
    case IDC_MINIMIZE_BUTTON:
        ShowWindow(hwnd_, SW_MINIMIZE);
        return true;
    case IDC_WEB_SITE_BUTTON:
    case IDC_LOGO:
        OpenHomePage(SW_SHOW);
        return true;
    default:
        return false;
    }
}

void MainWindow::OpenHomePage(int showCommand) {
    platform_.shell->Open(HomePageAddress(), showCommand);
}

HBRUSH MainWindow::OnCtlColor(HDC dc, HWND control, UINT) {
    if (control != frame_.Handle() || !control) return nullptr;
    SetBkMode(dc, TRANSPARENT);
    return frameBrush_.Get();
}

void MainWindow::OnDestroy() {
    ui::SetHandOffWindow(nullptr);
    RemovePropA(hwnd_, ui::kPagesFilledProperty);
    frameBrush_.Reset();
    tooltip_.reset();
    for (auto& page : pages_) page.reset();
}

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (ui::HandOff(hwnd_, message, wParam, [this] {
            bool pending = false;
            for (const auto& page : pages_) {
                if (!page) continue;
                page->TakeGathered();
                pending = pending || !page->Filled();
            }
            return pending;
        })) {
        *result = 0;
        return true;
    }
    switch (message) {
    case WM_PAINT:
        Paint();
        return true;
    case WM_QUERYDRAGICON:
        *result = reinterpret_cast<LRESULT>(icon_.Get());
        return true;
    case WM_TIMER:
        if (wParam == kLogoTimerId) BlinkLogo();
        return false;
    case WM_LBUTTONDOWN:
        return StartDrag(lParam);
    case WM_ACTIVATEAPP:
        if (wParam && frame_.Handle()) {
            frame_.Send(WM_SETREDRAW, TRUE);
            frame_.Update();
        }
        return false;
    case WM_SIZE:
        ApplyWindowRegion();
        return false;
    case kFinishStartMessage:
        FinishStart();
        *result = 0;
        return true;
    case ui::kPageFilledMessage:
        MarkPagesFilledWhenDone();
        *result = 0;
        return true;
    default:
        return false;
    }
}

void MainWindow::BlinkLogo() {
    int next = logoBlinkFlag_ ? IDB_LOGO_BLINK : IDB_LOGO;
    logoBlinkFlag_ = logoBlinkFlag_ ? 0 : 1;
    ui::Bitmap image = ui::LoadScaledBitmap(next);
    if (!image || !logo_.Handle()) return;
    HBITMAP previous = logo_.SetBitmap(image.Get());
    // The control hands back the image it showed: the template's own at the
    // first tick, ours after that. Either way nothing else refers to it now.
    if (previous && previous != logoImage_.Get()) DeleteObject(previous);
    logoImage_ = std::move(image);
}

void MainWindow::Paint() {
    ui::PaintDc paint(hwnd_);
    HDC dc = paint.Get();
    RECT client = ClientRect();
    if (IsIconic(hwnd_)) {
        Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
        int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(dc, x, y, icon_.Get());
        return;
    }
    ui::Bitmap background = ui::LoadScaledBitmap(kBackgroundBitmap);
    ui::MemoryDc memory(dc);
    if (!background || !memory) return;
    BITMAP info{};
    GetObjectA(background.Get(), sizeof(info), &info);
    ui::SelectObjectGuard select(memory.Get(), background.Get());
    // Between the drawn sizes the picture is averaged, not picked.
    if (ui::ScreenDpi() != kBaseDpi) {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
    }
    StretchBlt(dc, 0, 0, client.right - client.left, client.bottom - client.top, memory.Get(), 0,
               0, info.bmWidth, info.bmHeight, SRCCOPY);
}

bool MainWindow::StartDrag(LPARAM lParam) {
    int y = static_cast<short>(HIWORD(lParam));
    if (y > ui::Scaled(kDragBandBottom)) return true;  // ignored, no default processing
    int x = static_cast<short>(LOWORD(lParam));
    PostMessageA(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(x, y));
    return false;
}

void MainWindow::ApplyWindowRegion() {
    RECT window = WindowRect();
    windowRegion_.Reset(CreateRoundRectRgn(0, 0, window.right - window.left,
                                           window.bottom - window.top, ui::Scaled(kWindowCorner),
                                           ui::Scaled(kWindowCorner)));
    // The system owns the region once it is applied.
    if (windowRegion_) SetWindowRgn(hwnd_, windowRegion_.Release(), TRUE);
}

}  // namespace tv
