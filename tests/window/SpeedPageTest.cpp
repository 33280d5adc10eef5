// The speed page in the real main window: its controls, the gradient push
// button in each state, the rounded group boxes, and what the apply button
// does (against the fakes).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/win32/MainWindow.h"
#include "controls/win32/GradientButton.h"
#include "controls/win32/XPGroupBox.h"
#include "platform/ui/Gdi.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/WindowTestSupport.h"
#include "tweaks/win32/SpeedPage.h"

namespace tv {
namespace {

using testing::PumpMessages;
using testing::PumpMessagesUntil;

constexpr int kSpeedSection = 2;
const char kDoneText[] = "\xB2\xD9\xD7\xF7\xD2\xD1\xBE\xAD\xCD\xEA\xB3\xC9\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2"
                         "\xC6\xF4\xB6\xAF\xBC\xC6\xCB\xE3\xBB\xFA\xC9\xFA\xD0\xA7";  // 操作已经完成，请重新启动计算机生效
const char kFirstUse[] = "\xCA\xD7\xB4\xCE\xCA\xB9\xD3\xC3";                        // 首次使用
const char kWeekly[] = "\xC3\xBF\xD6\xDC\xCA\xB9\xD3\xC3";                          // 每周使用
const char kTryNow[] = "\xC1\xA2\xBC\xB4\xCC\xE5\xD1\xE9";                          // 立即体验

std::uint32_t Pixel(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}
std::uint32_t FromColorRef(COLORREF c) { return Pixel(GetRValue(c), GetGValue(c), GetBValue(c)); }

class SpeedPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<MainWindow>(fakes_.Get());
        ASSERT_TRUE(window_->Create(nullptr));
        // The pages gather off this thread; wait until they are filled.
        ASSERT_TRUE(PumpMessagesUntil([&] { return window_->PagesFilled(); }));
        SetWindowPos(window_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
        testing::Click(window_->SectionButton(kSpeedSection).Handle());
        PumpMessages(30);
        page_ = dynamic_cast<SpeedPage*>(window_->Page(kSpeedSection));
        ASSERT_NE(page_, nullptr);
        ASSERT_TRUE(page_->IsVisible());
    }
    void TearDown() override {
        extra_.clear();
        window_.reset();
    }

    // One more gradient button on the page, to show several states at once.
    CGradientButton& AddButton(int id, int x, int y, const char* caption, int icon) {
        CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x,
                        y, 121, 33, page_->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleA(nullptr), nullptr);
        SendMessageA(GetDlgItem(page_->Handle(), id), WM_SETFONT,
                     SendMessageA(page_->Handle(), WM_GETFONT, 0, 0), FALSE);
        extra_.push_back(std::make_unique<CGradientButton>());
        EXPECT_TRUE(extra_.back()->SubclassDlgItem(id, page_->Handle()));
        if (icon) extra_.back()->SetIcon(icon);
        return *extra_.back();
    }
    // What the control shows, as a grid of pixels.
    std::vector<std::uint32_t> Shown(HWND control) {
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        PumpMessages(20);
        RECT r{};
        GetClientRect(control, &r);
        width_ = r.right;
        return testing::ScreenPixels(control, r.right, r.bottom);
    }
    std::uint32_t At(const std::vector<std::uint32_t>& pixels, int x, int y) const {
        return pixels[static_cast<size_t>(y) * width_ + x];
    }
    static void MoveOver(HWND control, int x, int y) {
        SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        PumpMessages(10);
    }
    void SaveScreenshot(const std::string& name) {
        RedrawWindow(window_->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(100);
        CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
        std::string path = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\" + name + ".png";
        EXPECT_TRUE(testing::SaveWindowPng(window_->Handle(), path)) << path;
    }

    testing::FakePlatform fakes_;
    std::unique_ptr<MainWindow> window_;
    SpeedPage* page_ = nullptr;
    std::vector<std::unique_ptr<CGradientButton>> extra_;
    int width_ = 0;
};

TEST_F(SpeedPageTest, StartsWithEveryBoxCheckedAndTheTemplateTexts) {
    HWND page = page_->Handle();
    for (int id : {1052, 1053, 1054, 1014, 1055})
        EXPECT_EQ(IsDlgButtonChecked(page, id), static_cast<UINT>(BST_CHECKED)) << id;
    struct {
        int id;
        const char* caption;
    } boxes[] = {{1038, kFirstUse}, {1039, kFirstUse}, {1040, kWeekly}, {1041, kFirstUse},
                 {1042, kFirstUse}};
    for (const auto& box : boxes) {
        CXPGroupBox& control = page_->Box(box.id);
        EXPECT_EQ(control.Handle(), GetDlgItem(page, box.id));
        EXPECT_EQ(control.Caption(), std::string(" ") + box.caption + " ") << box.id;
        EXPECT_EQ(control.Style(), 1) << box.id;
        EXPECT_EQ(control.CaptionBackground(), RGB(255, 255, 255)) << box.id;
        EXPECT_EQ(control.ClientBackground(), RGB(255, 255, 255)) << box.id;
        EXPECT_TRUE(GetWindowLongPtrA(control.Handle(), GWL_STYLE) & BS_ICON) << box.id;
    }
    CGradientButton& apply = page_->ApplyButton();
    EXPECT_EQ(apply.Text(), kTryNow);
    EXPECT_EQ(GetWindowLongPtrA(apply.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(apply.ButtonType(), BS_PUSHBUTTON);
    EXPECT_TRUE(apply.HasIcon());
    EXPECT_EQ(apply.IconWidth(), 24);
    EXPECT_EQ(apply.IconHeight(), 24);
    char status[128] = {};
    GetDlgItemTextA(page, 1056, status, sizeof(status));
    EXPECT_STREQ(status,
                 "\xC3\xBF\xCF\xEE\xD3\xC5\xBB\xAF\xB6\xBC\xD7\xF6\xC1\xCB\xD1\xCF\xB8\xF1\xB5\xC4"
                 "\xB2\xE2\xCA\xD4\xA3\xAC\xC8\xB7\xB1\xA3\xCF\xB5\xCD\xB3\xB5\xC4\xB0\xB2\xC8\xAB"
                 "\xBA\xCD\xCE\xC8\xB6\xA8");  // 每项优化都做了严格的测试，确保系统的安全和稳定
}

// Top middle of the ring (2 px in) and of the border (1 px in).
struct FaceProbe {
    std::uint32_t ring, border;
};

TEST_F(SpeedPageTest, FaceShowsEachStateAndHoverBeatsFocus) {
    CGradientButton& a = AddButton(3001, 20, 300, kTryNow, 166);
    CGradientButton& b = AddButton(3002, 160, 300, kTryNow, 166);
    PumpMessages(20);
    auto probe = [&](CGradientButton& button) {
        std::vector<std::uint32_t> pixels = Shown(button.Handle());
        return FaceProbe{At(pixels, 60, 2), At(pixels, 60, 1)};
    };
    const std::uint32_t corner = Pixel(0, 60, 116);

    FaceProbe plain = probe(a);
    EXPECT_EQ(plain.ring, Pixel(255, 255, 255));
    EXPECT_EQ(plain.border, corner);

    SetFocus(a.Handle());
    EXPECT_EQ(probe(a).ring, Pixel(206, 231, 255));

    MoveOver(a.Handle(), 10, 10);
    EXPECT_TRUE(a.IsHover());
    EXPECT_EQ(probe(a).ring, Pixel(255, 240, 207)) << "hover over focus shows the hover ring";

    // Straight from one button onto the other: the first lets go.
    MoveOver(a.Handle(), 150, 10);
    EXPECT_FALSE(a.IsHover());
    MoveOver(b.Handle(), 10, 10);
    EXPECT_TRUE(b.IsHover());
    EXPECT_EQ(probe(b).ring, Pixel(255, 240, 207));
    SendMessageA(b.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(b.IsHover());

    SendMessageA(b.Handle(), BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(probe(b).ring, Pixel(209, 204, 193));
    SendMessageA(b.Handle(), BM_SETSTATE, FALSE, 0);

    SetFocus(b.Handle());
    EnableWindow(b.Handle(), FALSE);
    EXPECT_NE(GetFocus(), b.Handle()) << "the focus moves off a disabled button";
    FaceProbe disabled = probe(b);
    EXPECT_EQ(disabled.ring, Pixel(245, 244, 234));
    EXPECT_EQ(disabled.border, Pixel(201, 199, 186));

    // The corners outside the rounded border show the white page.
    std::vector<std::uint32_t> pixels = Shown(a.Handle());
    EXPECT_EQ(At(pixels, 0, 0), Pixel(255, 255, 255));
    EXPECT_EQ(At(pixels, width_ - 1, 0), Pixel(255, 255, 255));
}

TEST_F(SpeedPageTest, HoverEndsOnEachMessageThatEndsIt) {
    CGradientButton& a = AddButton(3001, 20, 355, kTryNow, 0);
    struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        bool ends;
    } cases[] = {{"leave", WM_MOUSELEAVE, 0, true},
                 {"focus lost", WM_KILLFOCUS, 0, true},
                 {"cancel mode", WM_CANCELMODE, 0, true},
                 {"deactivated", WM_ACTIVATE, WA_INACTIVE, true},
                 {"activated", WM_ACTIVATE, WA_ACTIVE, false},
                 {"disabled", WM_ENABLE, FALSE, true},
                 {"enabled", WM_ENABLE, TRUE, false}};
    for (const auto& c : cases) {
        MoveOver(a.Handle(), 10, 10);
        ASSERT_TRUE(a.IsHover()) << c.name;
        SendMessageA(a.Handle(), c.message, c.wParam, 0);
        EXPECT_EQ(a.IsHover(), !c.ends) << c.name;
        SendMessageA(a.Handle(), WM_MOUSELEAVE, 0, 0);
    }
    // A move with the left button held starts no hover.
    SendMessageA(a.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_FALSE(a.IsHover());
}

TEST_F(SpeedPageTest, DefaultFollowsTheDialogsStyleMessages) {
    CGradientButton& a = AddButton(3001, 20, 300, kTryNow, 0);
    EXPECT_FALSE(a.IsDefault());
    EXPECT_EQ(SendMessageA(a.Handle(), WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON,
              DLGC_UNDEFPUSHBUTTON);
    SendMessageA(a.Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(a.IsDefault());
    EXPECT_EQ(GetWindowLongPtrA(a.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(SendMessageA(a.Handle(), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON,
              DLGC_DEFPUSHBUTTON);
    std::vector<std::uint32_t> pixels = Shown(a.Handle());
    EXPECT_EQ(At(pixels, 60, 2), Pixel(206, 231, 255)) << "a default button shows the blue ring";
    SendMessageA(a.Handle(), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_FALSE(a.IsDefault());
}

TEST_F(SpeedPageTest, IconAloneIsCentredAndDoubleClickIsASecondClick) {
    CGradientButton& a = AddButton(3001, 20, 300, "", 166);
    std::vector<std::uint32_t> pixels = Shown(a.Handle());
    // The 24-pixel bolt sits in the middle of the 121 x 33 face: no bolt
    // pixel (orange, little blue) at the left where a captioned icon goes.
    auto orange = [](std::uint32_t p) {
        return ((p >> 16) & 0xFF) > 200 && (p & 0xFF) < 120;
    };
    int left = 0, middle = 0;
    for (int y = 0; y < 33; ++y)
        for (int x = 0; x < 121; ++x)
            if (orange(At(pixels, x, y))) (x < 40 ? left : middle) += 1;
    EXPECT_EQ(left, 0);
    EXPECT_GT(middle, 20);

    // An owner-drawn button would only report a double click; here the
    // second press pushes the button as the first did.
    SendMessageA(a.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(a.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(a.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(SendMessageA(a.Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED);
    SendMessageA(a.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetFocus(), a.Handle());
}

TEST_F(SpeedPageTest, AClickNotifiedToThePageGivesTheButtonTheFocus) {
    CGradientButton& a = AddButton(3001, 20, 355, kTryNow, 0);
    SetFocus(page_->ApplyButton().Handle());
    SendMessageA(page_->Handle(), WM_COMMAND, MAKEWPARAM(3001, BN_CLICKED),
                 reinterpret_cast<LPARAM>(a.Handle()));
    EXPECT_EQ(GetFocus(), a.Handle());
}

// A dialog that leaves colour requests to its controls (no page brush).
class PlainDialog : public ui::Dialog {
public:
    PlainDialog() : ui::Dialog(IDD_SPEED_PAGE) {}
    CGradientButton button;

protected:
    void DoDataExchange(ui::DataExchange& exchange) override {
        exchange.Control(IDC_SPEED_APPLY, button);
    }
};

TEST(GradientButtonColours, PageAnswersColourRequestsAndOtherDialogsAskTheButton) {
    struct Host {
        HWND window = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 800, 600, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
        ~Host() { DestroyWindow(window); }
    } host;
    PlainDialog plain;
    ASSERT_TRUE(plain.Create(host.window));
    ui::WindowDc dc(plain.button.Handle());
    LRESULT brush = SendMessageA(plain.Handle(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.Get()),
                                 reinterpret_cast<LPARAM>(plain.button.Handle()));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(NULL_BRUSH));
}

TEST_F(SpeedPageTest, PageAnswersItsButtonsColourRequestsItself) {
    HWND apply = page_->ApplyButton().Handle();
    ui::WindowDc dc(apply);
    LRESULT brush = SendMessageA(page_->Handle(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.Get()),
                                 reinterpret_cast<LPARAM>(apply));
    EXPECT_NE(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(NULL_BRUSH));
    EXPECT_NE(brush, 0);
}

TEST_F(SpeedPageTest, SavedBackgroundIsKeptUntilTheSystemColoursChange) {
    CGradientButton& a = AddButton(3001, 20, 355, kTryNow, 0);
    EXPECT_EQ(At(Shown(a.Handle()), 0, 0), Pixel(255, 255, 255));
    RECT placed{};
    GetWindowRect(a.Handle(), &placed);
    MapWindowPoints(nullptr, page_->Handle(), reinterpret_cast<POINT*>(&placed), 2);
    auto paintRedUnderTheButton = [&] {
        ui::WindowDc dc(page_->Handle());
        ui::Brush red(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(dc.Get(), &placed, red.Get());
    };
    auto repaint = [&] {
        InvalidateRect(a.Handle(), nullptr, FALSE);
        UpdateWindow(a.Handle());
        PumpMessages(20);
        return testing::ScreenPixels(a.Handle(), width_, 33);
    };
    paintRedUnderTheButton();
    EXPECT_EQ(At(repaint(), 0, 0), Pixel(255, 255, 255)) << "the first capture is kept";
    paintRedUnderTheButton();
    SendMessageA(a.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(At(repaint(), 0, 0), Pixel(255, 0, 0)) << "captured again after a colour change";
}

TEST_F(SpeedPageTest, RepaintingInEveryStateKeepsNoGdiObject) {
    CGradientButton& a = AddButton(3001, 20, 355, kTryNow, 166);
    CXPGroupBox& box = page_->Box(1038);
    Shown(a.Handle());
    Shown(box.Handle());
    const int before = testing::GdiObjectCount();
    if (before <= 0) GTEST_SKIP() << "this platform gives no GDI object count";
    for (int round = 0; round < 20; ++round) {
        SetFocus(round % 2 ? a.Handle() : page_->ApplyButton().Handle());
        MoveOver(a.Handle(), round % 3 ? 10 : 500, 10);
        SendMessageA(a.Handle(), BM_SETSTATE, round % 4 == 0, 0);
        EnableWindow(a.Handle(), round % 5 != 0);
        a.SetIcon(166);
        Shown(a.Handle());
        box.SetBold(round % 2 == 0).SetAlignment(round % 3).SetStyle(round % 2);
        Shown(box.Handle());
    }
    EXPECT_EQ(testing::GdiObjectCount(), before);
}

TEST_F(SpeedPageTest, GroupBoxCaptionComesFromTheFirstPaintOnly) {
    CXPGroupBox& box = page_->Box(1038);
    std::vector<std::uint32_t> before = Shown(box.Handle());
    SetWindowTextA(box.Handle(), "changed");
    EXPECT_EQ(box.Caption(), std::string(" ") + kFirstUse + " ");
    EXPECT_EQ(Shown(box.Handle()), before);

    CXPGroupBox& chained = box.SetCaption("X").SetCaptionTextColor(RGB(255, 0, 0));
    EXPECT_EQ(&chained, &box);
    EXPECT_EQ(box.Caption(), " X ");
    EXPECT_NE(Shown(box.Handle()), before);
}

TEST_F(SpeedPageTest, GroupBoxBandLineAndRoundedTop) {
    // A box with no caption: its band line lies 4 pixels below the top edge.
    CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 20, 300, 200, 40,
                    page_->Handle(), reinterpret_cast<HMENU>(3010), GetModuleHandleA(nullptr),
                    nullptr);
    CXPGroupBox empty;
    ASSERT_TRUE(empty.SubclassDlgItem(3010, page_->Handle()));
    empty.SetStyle(1).SetBackgroundColor(RGB(255, 255, 255), RGB(255, 255, 255));
    std::vector<std::uint32_t> pixels = Shown(empty.Handle());
    const std::uint32_t shadow = FromColorRef(GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(pixels, 100, 1), shadow) << "top edge";
    EXPECT_EQ(At(pixels, 100, 5), shadow) << "band line";
    EXPECT_EQ(At(pixels, 100, 3), Pixel(255, 255, 255));
    EXPECT_EQ(At(pixels, 100, 7), Pixel(255, 255, 255));
    EXPECT_EQ(At(pixels, 1, 38), shadow) << "square bottom-left corner";
    EXPECT_NE(At(pixels, 1, 1), shadow) << "rounded top-left corner";
    EXPECT_EQ(empty.Caption(), "");

    // The page's own boxes: band line h + 4 below the top edge, and the
    // caption's pixels in the band.
    CXPGroupBox& box = page_->Box(1040);
    std::vector<std::uint32_t> shown = Shown(box.Handle());
    HDC dc = GetDC(box.Handle());
    HGDIOBJ old = SelectObject(dc, box.FontHandle());
    SIZE extent{};
    GetTextExtentPoint32A(dc, box.Caption().c_str(), static_cast<int>(box.Caption().size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(box.Handle(), dc);
    EXPECT_EQ(At(shown, 150, 1 + extent.cy + 4), shadow);
    int dark = 0;
    for (int y = 3; y < 3 + extent.cy; ++y)
        for (int x = 3; x < 3 + extent.cx; ++x)
            if (At(shown, x, y) == Pixel(0, 0, 0)) ++dark;
    EXPECT_GT(dark, 10) << "the caption is drawn in the band";
}

TEST_F(SpeedPageTest, ApplyWritesTheValuesAndShowsTheDoneText) {
    fakes_.files.AddFile("C:\\Windows\\Prefetch\\A.pf");
    SendMessageA(page_->Handle(), WM_COMMAND, MAKEWPARAM(1037, BN_CLICKED),
                 reinterpret_cast<LPARAM>(page_->ApplyButton().Handle()));
    char status[128] = {};
    GetDlgItemTextA(page_->Handle(), 1056, status, sizeof(status));
    EXPECT_STREQ(status, kDoneText);
    EXPECT_FALSE(fakes_.files.Exists("C:\\Windows\\Prefetch"));
    RegKey desktop = RegKey::Open(fakes_.registry, kHkeyCurrentUser, "Control Panel\\Desktop", kKeyRead);
    std::string value;
    EXPECT_TRUE(desktop.ReadString("AutoEndTasks", 16, &value));
    EXPECT_EQ(value, "1");

    CheckDlgButton(page_->Handle(), 1052, BST_UNCHECKED);
    CheckDlgButton(page_->Handle(), 1014, BST_UNCHECKED);
    SpeedTweakChoices choices = page_->Choices();
    EXPECT_FALSE(choices.appResponse);
    EXPECT_TRUE(choices.serviceTimeout);
    EXPECT_TRUE(choices.prefetch);
    EXPECT_FALSE(choices.shutdown);
    EXPECT_TRUE(choices.dllUnload);
    testing::Click(page_->ApplyButton().Handle());
    PumpMessages(10);
    EXPECT_TRUE(desktop.ReadString("AutoEndTasks", 16, &value));
    EXPECT_EQ(value, "0");
    EXPECT_EQ(GetFocus(), page_->ApplyButton().Handle());
}

TEST_F(SpeedPageTest, Screenshots) {
    SaveScreenshot("speed-page");
    CGradientButton& hover = AddButton(3001, 20, 355, kTryNow, 166);
    CGradientButton& focus = AddButton(3002, 160, 355, kTryNow, 166);
    CGradientButton& pressed = AddButton(3003, 300, 355, kTryNow, 166);
    CGradientButton& disabled = AddButton(3004, 440, 355, kTryNow, 166);
    AddButton(3005, 580, 355, "", 166);
    SetFocus(focus.Handle());
    MoveOver(hover.Handle(), 10, 10);
    SendMessageA(pressed.Handle(), BM_SETSTATE, TRUE, 0);
    EnableWindow(disabled.Handle(), FALSE);
    SaveScreenshot("speed-page-button-states");
    EXPECT_TRUE(hover.IsHover());
}

}  // namespace
}  // namespace tv
