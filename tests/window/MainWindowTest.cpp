// Drives the real main window (real Win32 windows under Wine) with the
// platform's clock and shell replaced, so the date can be chosen and the
// opened addresses seen.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Sections.h"
#include "app/VersionNotice.h"
#include "app/win32/MainWindow.h"
#include "app/win32/ManagementContainer.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShell.h"
#include "platform/ui/Gdi.h"
#include "platform/BuildSettings.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

using testing::Click;
using testing::PumpMessages;
using testing::PumpMessagesUntil;

// Where a template item at (x, y, width, height) dialog units lands in
// pixels: position and size are converted separately, as the system does.
RECT DialogItemRect(HWND dialog, int x, int y, int width, int height) {
    RECT rect{x, y, width, height};
    MapDialogRect(dialog, &rect);
    return {rect.left, rect.top, rect.left + rect.right, rect.top + rect.bottom};
}

class MainWindowTest : public ::testing::Test {
protected:
    void Open(LocalDate today = {2009, 10, 25}) {
        clock_.SetToday(today);
        window_ = std::make_unique<MainWindow>(fakes_.Get());
        ASSERT_TRUE(window_->Create(nullptr));
        // The pages gather off this thread; wait until they are filled.
        ASSERT_TRUE(PumpMessagesUntil([&] { return window_->PagesFilled(); })) << [&] {
            std::string waiting = "pages still gathering:";
            for (int section = 1; section <= 7; ++section) {
                SectionPage* page = window_->Page(section);
                if (!page || !page->Filled()) waiting += " " + std::to_string(section);
            }
            return waiting;
        }();
        PumpMessages(30);
    }
    void TearDown() override { window_.reset(); }

    HWND Main() const { return window_->Handle(); }
    ManagementContainer& Container() const {
        return *static_cast<ManagementContainer*>(window_->Page(4));
    }
    void ClickSection(int section) {
        Click(window_->SectionButton(section).Handle());
        PumpMessages(5);
    }
    // The tab's list refreshes off this thread: the click waits for it.
    void ClickTab(int tab) {
        Click(Container().TabButton(tab).Handle());
        ASSERT_TRUE(PumpMessagesUntil([&] { return window_->PagesFilled(); }));
        PumpMessages(5);
    }
    // Sections whose page is visible, and whose button is down.
    std::vector<int> VisibleSections() const {
        std::vector<int> visible;
        for (int s = 1; s <= kSectionCount; ++s)
            if (IsWindowVisible(window_->Page(s)->Handle())) visible.push_back(s);
        return visible;
    }
    std::vector<int> DownSections() const {
        std::vector<int> down;
        for (int s = 1; s <= kSectionCount; ++s) {
            if (window_->SectionButton(s).State() == kButtonDown) down.push_back(s);
        }
        return down;
    }
    std::vector<int> VisibleTabs() const {
        std::vector<int> visible;
        for (int t = 1; t <= kTabCount; ++t)
            if (IsWindowVisible(Container().Page(t)->Handle())) visible.push_back(t);
        return visible;
    }
    std::vector<int> DownTabs() const {
        std::vector<int> down;
        for (int t = 1; t <= kTabCount; ++t)
            if (Container().TabButton(t).State() == kButtonDown) down.push_back(t);
        return down;
    }

    testing::FakePlatform fakes_;
    FakeRegistry& registry_ = fakes_.registry;
    FakeClock& clock_ = fakes_.clock;
    FakeShell& shell_ = fakes_.shell;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, StartsOnTheSystemInformationPage) {
    Open();
    EXPECT_EQ(window_->Text(), kMainWindowTitle);
    EXPECT_EQ(window_->CurrentSection(), 1);
    EXPECT_EQ(VisibleSections(), std::vector<int>{1});
    EXPECT_EQ(DownSections(), std::vector<int>{1});
    EXPECT_EQ(window_->Page(1)->TemplateId(), 131);
    EXPECT_TRUE(fakes_.userShell.Asked().empty());
    EXPECT_TRUE(shell_.Requests().empty());
    EXPECT_EQ(SendMessageA(Main(), WM_GETICON, ICON_BIG, 0) != 0, true);
}

TEST_F(MainWindowTest, WindowMeasuresTheTemplateInDialogUnits) {
    Open();
    // "宋体" 9 pt resolves to a face of SimSun's size: 6 x 12 base units.
    RECT units{0, 0, 4, 8};
    MapDialogRect(Main(), &units);
    EXPECT_EQ(units.right, 6);
    EXPECT_EQ(units.bottom, 12);
    RECT expected{0, 0, 520, 378};
    MapDialogRect(Main(), &expected);
    RECT client = window_->ClientRect();
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
}

TEST_F(MainWindowTest, PagesFillTheContentRectangle) {
    Open();
    RECT frame = DialogItemRect(Main(), 7, 83, 508, 275);
    const PixelRect& content = window_->ContentRect();
    EXPECT_EQ(content.left, frame.left);
    EXPECT_EQ(content.top, 130);
    EXPECT_EQ(content.right, frame.right - 2);
    EXPECT_EQ(content.bottom, frame.bottom - 2);
    for (int s = 1; s <= kSectionCount; ++s) {
        RECT page{};
        GetWindowRect(window_->Page(s)->Handle(), &page);
        MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&page), 2);
        EXPECT_EQ(page.left, content.left) << s;
        EXPECT_EQ(page.top, 130) << s;
        EXPECT_EQ(page.right, content.right) << s;
        EXPECT_EQ(page.bottom, content.bottom) << s;
    }
}

TEST_F(MainWindowTest, EverySectionClickShowsExactlyItsPage) {
    Open();
    const int clicks[] = {4, 2, 2, 7, 1, 5, 3, 6, 4, 4, 1, 7, 6, 5};
    for (int section : clicks) {
        ClickSection(section);
        EXPECT_EQ(window_->CurrentSection(), section);
        EXPECT_EQ(VisibleSections(), std::vector<int>{section});
        EXPECT_EQ(DownSections(), std::vector<int>{section});
    }
}

TEST_F(MainWindowTest, SectionSwitchDoesNotRefreshTheManagementPage) {
    Open();
    ASSERT_EQ(Container().Page(1)->RefreshCount(), 1);  // the scan at start
    ClickSection(4);
    ClickSection(1);
    ClickSection(4);
    EXPECT_EQ(Container().Page(1)->RefreshCount(), 1);
    EXPECT_EQ(VisibleTabs(), std::vector<int>{1});
    EXPECT_EQ(DownTabs(), std::vector<int>{1});
}

TEST_F(MainWindowTest, TabClicksShowOneSubPageAndRefreshItEachTime) {
    Open();
    ClickSection(4);
    const int clicks[] = {2, 2, 3, 1, 1, 5, 4, 2, 5, 5, 3};
    int expected[kTabCount + 1] = {0, 1, 0, 0, 0, 0};
    for (int tab : clicks) {
        ClickTab(tab);
        ++expected[tab];
        EXPECT_EQ(Container().CurrentTab(), tab);
        EXPECT_EQ(VisibleTabs(), std::vector<int>{tab});
        EXPECT_EQ(DownTabs(), std::vector<int>{tab});
        for (int t = 1; t <= kTabCount; ++t)
            EXPECT_EQ(Container().Page(t)->RefreshCount(), expected[t]) << "tab " << t;
    }
}

TEST_F(MainWindowTest, SubPagesFillTheContainerFrame) {
    Open();
    RECT frame = DialogItemRect(Container().Handle(), 0, 33, 507, 242);
    const PixelRect& content = Container().ContentRect();
    EXPECT_EQ(content.left, frame.left);
    EXPECT_EQ(content.top, 36);
    EXPECT_EQ(content.right, frame.right - 2);
    EXPECT_EQ(content.bottom, frame.bottom - 2);
    for (int t = 1; t <= kTabCount; ++t) {
        RECT page{};
        GetWindowRect(Container().Page(t)->Handle(), &page);
        MapWindowPoints(nullptr, Container().Handle(), reinterpret_cast<POINT*>(&page), 2);
        EXPECT_EQ(page.top, 36) << t;
        EXPECT_EQ(page.bottom, content.bottom) << t;
    }
}

TEST_F(MainWindowTest, PagesAnswerEveryColourRequestWithWhite) {
    Open();
    std::vector<HWND> pages;
    for (int s = 1; s <= kSectionCount; ++s) pages.push_back(window_->Page(s)->Handle());
    for (int t = 1; t <= kTabCount; ++t) pages.push_back(Container().Page(t)->Handle());
    ui::WindowDc windowDc(Main());
    HDC dc = windowDc.Get();
    for (HWND page : pages) {
        for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLOREDIT, WM_CTLCOLORDLG,
                             WM_CTLCOLORLISTBOX, WM_CTLCOLORSCROLLBAR}) {
            auto brush = reinterpret_cast<HBRUSH>(
                SendMessageA(page, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(page)));
            LOGBRUSH info{};
            ASSERT_TRUE(GetObjectA(brush, sizeof(info), &info)) << message;
            EXPECT_EQ(info.lbColor, RGB(255, 255, 255));
            EXPECT_EQ(info.lbStyle, static_cast<UINT>(BS_SOLID));
        }
    }
    // The main window colours only its content frame.
    auto frameBrush = reinterpret_cast<HBRUSH>(SendMessageA(
        Main(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(GetDlgItem(Main(), 1007))));
    LOGBRUSH info{};
    ASSERT_TRUE(GetObjectA(frameBrush, sizeof(info), &info));
    EXPECT_EQ(info.lbColor, RGB(255, 255, 255));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
}

TEST_F(MainWindowTest, LogoBlinksBetweenItsTwoImages) {
    Open();
    ui::Bitmap first = ui::LoadBitmapResource(218);
    ui::Bitmap second = ui::LoadBitmapResource(219);
    auto shown = [&] { return testing::BitmapPixels(window_->Logo().GetBitmap()); };
    EXPECT_EQ(shown(), testing::BitmapPixels(first.Get()));
    SendMessageA(Main(), WM_TIMER, kLogoTimerId, 0);
    EXPECT_EQ(shown(), testing::BitmapPixels(second.Get()));
    SendMessageA(Main(), WM_TIMER, kLogoTimerId, 0);
    EXPECT_EQ(shown(), testing::BitmapPixels(first.Get()));
}

TEST_F(MainWindowTest, NoticeDependsOnTheDate) {
    struct Case {
        LocalDate date;
        bool shown;
    } cases[] = {{{2011, 3, 1}, true}, {{2011, 1, 15}, false}, {{2010, 3, 1}, true},
                 {{2010, 2, 28}, false}, {{2009, 12, 31}, false}};
    for (const Case& c : cases) {
        fakes_.userShell.Clear();
        std::vector<testing::MessageBoxWatcher::Box> boxes;
        {
            testing::MessageBoxWatcher watcher;
            Open(c.date);
            boxes = watcher.Boxes();
        }
        if (c.shown) {
            ASSERT_EQ(boxes.size(), 1u) << c.date.year << "-" << c.date.month;
            EXPECT_EQ(boxes[0].caption, "Trimvex");
            EXPECT_EQ(boxes[0].text, kNoticeText);
            // The main window waits beneath its notice.
            EXPECT_TRUE(boxes[0].hasOwner);
            EXPECT_EQ(boxes[0].owner, Main());
            ASSERT_EQ(fakes_.userShell.Launches().size(), 1u);
            EXPECT_EQ(fakes_.userShell.Launches()[0].file, "http://" + std::string(TV_SITE_HOST) + "/");
            EXPECT_EQ(fakes_.userShell.Launches()[0].showCommand, SW_SHOWMAXIMIZED);
        } else {
            EXPECT_TRUE(boxes.empty()) << c.date.year << "-" << c.date.month;
            EXPECT_TRUE(fakes_.userShell.Asked().empty());
        }
        EXPECT_TRUE(shell_.Requests().empty());
        // The window starts normally either way.
        EXPECT_EQ(VisibleSections(), std::vector<int>{1});
        window_.reset();
    }
}

TEST_F(MainWindowTest, WithoutADesktopShellTheNoticeNamesTheSiteAndNothingStartsHere) {
    // The notice needs no click: a planted handler with the desktop shell
    // ended would otherwise start elevated at every start.
    fakes_.userShell.available = false;
    {
        testing::MessageBoxWatcher watcher;
        Open({2011, 3, 1});
        EXPECT_EQ(watcher.Boxes().size(), 1u);
    }
    EXPECT_TRUE(shell_.Requests().empty());
    EXPECT_TRUE(shell_.Launches().empty());
    ASSERT_EQ(fakes_.userShell.Asked().size(), 1u);
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
    EXPECT_EQ(fakes_.prompter.Prompts()[0].text,
              "无法通过桌面打开，请自行在浏览器中打开以下地址：\nhttp://" + std::string(TV_SITE_HOST) + "/");
    // The same for the web site button.
    Click(GetDlgItem(Main(), 1014));
    PumpMessages(5);
    EXPECT_TRUE(shell_.Requests().empty());
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 2u);
    EXPECT_EQ(fakes_.prompter.Prompts()[1].text, fakes_.prompter.Prompts()[0].text);
}

TEST_F(MainWindowTest, WebSiteButtonAndLogoOpenTheHomePage) {
    Open();
    Click(GetDlgItem(Main(), 1014));
    PumpMessages(5);
    Click(GetDlgItem(Main(), 1057));
    PumpMessages(5);
    // Through the desktop shell alone, with the user's rights.
    EXPECT_TRUE(shell_.Requests().empty());
    ASSERT_EQ(fakes_.userShell.Launches().size(), 2u);
    for (const auto& launch : fakes_.userShell.Launches()) {
        EXPECT_EQ(launch.file, HomePageAddress());
        EXPECT_EQ(launch.showCommand, SW_SHOW);
    }
    EXPECT_TRUE(fakes_.prompter.Prompts().empty());
}

TEST_F(MainWindowTest, PressInTheTopBandStartsADrag) {
    Open();
    struct Case {
        int y;
        bool drags;
    } cases[] = {{90, true}, {0, true}, {91, false}, {300, false}};
    for (const Case& c : cases) {
        SendMessageA(Main(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, c.y));
        MSG posted{};
        bool found = PeekMessageA(&posted, Main(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE);
        EXPECT_EQ(found, c.drags) << "y = " << c.y;
        if (found) {
            EXPECT_EQ(posted.wParam, static_cast<WPARAM>(HTCAPTION));
            EXPECT_EQ(posted.lParam, MAKELPARAM(200, c.y));
        }
        SendMessageA(Main(), WM_LBUTTONUP, 0, MAKELPARAM(200, c.y));
    }
}

TEST_F(MainWindowTest, MinimizeButtonMinimizes) {
    Open();
    Click(GetDlgItem(Main(), 1013));
    PumpMessages(20);
    EXPECT_TRUE(IsIconic(Main()));
    ShowWindow(Main(), SW_RESTORE);
}

TEST_F(MainWindowTest, WindowHasRoundedCorners) {
    Open();
    ui::Region owned(CreateRectRgn(0, 0, 0, 0));
    HRGN region = owned.Get();
    ASSERT_NE(GetWindowRgn(Main(), region), ERROR);
    RECT window = window_->WindowRect();
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    RECT box{};
    GetRgnBox(region, &box);
    // A round-rectangle region leaves out its last column and row.
    EXPECT_GE(box.right, width - 1);
    EXPECT_LE(box.right, width);
    EXPECT_GE(box.bottom, height - 1);
    EXPECT_LE(box.bottom, height);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, width - 1, height - 1));
    EXPECT_TRUE(PtInRegion(region, 2, 2));
    EXPECT_TRUE(PtInRegion(region, width / 2, height / 2));
}

TEST_F(MainWindowTest, CaptionButtonsCarryTheirToolTips) {
    Open();
    HWND tip = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) CALLBACK -> BOOL {
            char name[64] = {};
            GetClassNameA(window, name, sizeof(name));
            if (std::string(name) == TOOLTIPS_CLASSA) *reinterpret_cast<HWND*>(found) = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 3);
    struct Tool {
        int id;
        const char* text;
    } tools[] = {{1012, "\xB9\xD8\xB1\xD5"},
                 {1013, "\xD7\xEE\xD0\xA1\xBB\xAF"},
                 {1014, "\xB7\xC3\xCE\xCA" "Trimvex" "\xB9\xD9\xB7\xBD\xCD\xF8\xD5\xBE"}};
    for (const Tool& tool : tools) {
        char text[256] = {};
        TTTOOLINFOA info{};
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        info.hwnd = Main();
        info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(Main(), tool.id));
        info.lpszText = text;
        SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(text, tool.text) << tool.id;
    }
}

TEST_F(MainWindowTest, GdiObjectsDoNotAccumulate) {
    Open();
    auto cycle = [&](int times) {
        for (int i = 0; i < times; ++i) {
            SendMessageA(Main(), WM_TIMER, kLogoTimerId, 0);
            ClickSection(i % kSectionCount + 1);
            UpdateWindow(Main());
        }
    };
    cycle(2 * kSectionCount);  // warm-up: the system makes some objects on first use
    int before = testing::GdiObjectCount();
    ASSERT_GT(before, 0);
    // The count sees objects come and go.
    {
        ui::Brush probe(CreateSolidBrush(RGB(1, 2, 3)));
        EXPECT_EQ(testing::GdiObjectCount(), before + 1);
    }
    EXPECT_EQ(testing::GdiObjectCount(), before);

    cycle(200);
    EXPECT_LE(testing::GdiObjectCount(), before);
}

TEST_F(MainWindowTest, TearDownDestroysEveryPage) {
    Open();
    std::vector<HWND> windows = {Main()};
    for (int s = 1; s <= kSectionCount; ++s) windows.push_back(window_->Page(s)->Handle());
    for (int t = 1; t <= kTabCount; ++t) windows.push_back(Container().Page(t)->Handle());
    window_.reset();
    for (HWND w : windows) EXPECT_FALSE(IsWindow(w));
}

TEST_F(MainWindowTest, Screenshots) {
    Open();
    SetWindowPos(Main(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    auto save = [&](const std::string& name) {
        RedrawWindow(Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(100);
        std::string path = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\" + name + ".png";
        EXPECT_TRUE(testing::SaveWindowPng(Main(), path)) << path;
    };
    for (int s = 1; s <= kSectionCount; ++s) {
        ClickSection(s);
        save("section-" + std::to_string(s));
    }
    ClickSection(4);
    for (int t = 1; t <= kTabCount; ++t) {
        ClickTab(t);
        save("tab-" + std::to_string(t));
    }
}

}  // namespace
}  // namespace tv
