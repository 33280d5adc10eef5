// The image buttons of the main window under real mouse messages: what they
// draw in each state and how they hold and release the capture.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/Sections.h"
#include "app/win32/MainWindow.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShell.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/MessageBox.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

using testing::PumpMessages;
using testing::PumpMessagesUntil;

constexpr int kSectionImageWidth = 65;
constexpr int kSectionImageHeight = 60;

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<MainWindow>(fakes_.Get());
        ASSERT_TRUE(window_->Create(nullptr));
        // The pages gather off this thread; wait until they are filled.
        ASSERT_TRUE(PumpMessagesUntil([&] { return window_->PagesFilled(); }));
        SetWindowPos(window_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
        PumpMessages(30);
    }
    void TearDown() override {
        ReleaseCapture();
        window_.reset();
    }
    // What the button shows now, as large as its images.
    std::vector<std::uint32_t> Shown(HWND button) {
        RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages(20);
        return testing::ScreenPixels(button, kSectionImageWidth, kSectionImageHeight);
    }
    std::vector<std::uint32_t> Image(int id) {
        return testing::BitmapPixels(ui::LoadBitmapResource(id).Get());
    }
    static void Move(HWND button, int x, int y) {
        SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }

    testing::FakePlatform fakes_;
    FakeRegistry& registry_ = fakes_.registry;
    FakeClock& clock_ = fakes_.clock;
    FakeShell& shell_ = fakes_.shell;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(ImageButtonTest, DrawsTheImageOfItsState) {
    auto& speed = window_->SectionButton(2);
    HWND button = speed.Handle();
    const SectionEntry& entry = Section(2);
    EXPECT_EQ(Shown(window_->SectionButton(1).Handle()), Image(Section(1).images.down));
    EXPECT_EQ(Shown(button), Image(entry.images.normal));

    Move(button, 5, 5);
    EXPECT_EQ(speed.State(), kButtonHover);
    EXPECT_EQ(GetCapture(), button);
    EXPECT_EQ(Shown(button), Image(entry.images.hover));

    Move(button, 500, 500);
    EXPECT_EQ(speed.State(), kButtonNormal);
    EXPECT_NE(GetCapture(), button);
    EXPECT_EQ(Shown(button), Image(entry.images.normal));
}

// Down and hover images are loaded when first drawn, but a missing one is
// still reported when the images are given.
TEST_F(ImageButtonTest, ImagesGivenAreCheckedAndLoadedWhenFirstShown) {
    const ButtonImages& images = Section(2).images;
    constexpr int kMissing = 9999;
    struct Case {
        int normal, down, hover;
        bool ok;
    };
    const Case cases[] = {
        {images.normal, images.down, images.hover, true},
        {images.normal, 0, 0, true},
        {images.normal, kMissing, images.hover, false},
        {images.normal, images.down, kMissing, false},
        {kMissing, images.down, images.hover, false},
    };
    auto& speed = window_->SectionButton(2);
    for (const Case& c : cases)
        EXPECT_EQ(speed.LoadImages(c.normal, c.down, c.hover), c.ok) << c.normal << " " << c.down << " " << c.hover;

    // Swapped down and hover images show where the state asks for them.
    ASSERT_TRUE(speed.LoadImages(images.normal, images.hover, images.down));
    HWND button = speed.Handle();
    Move(button, 5, 5);
    EXPECT_EQ(Shown(button), Image(images.down));
    Move(button, 500, 500);
    speed.SetDown();
    EXPECT_EQ(Shown(button), Image(images.hover));
}

TEST_F(ImageButtonTest, LatchedButtonIgnoresThePointer) {
    auto& first = window_->SectionButton(1);
    Move(first.Handle(), 5, 5);
    EXPECT_EQ(first.State(), kButtonDown);
    EXPECT_NE(GetCapture(), first.Handle());
    Move(first.Handle(), 500, 500);
    EXPECT_EQ(first.State(), kButtonDown);
}

TEST_F(ImageButtonTest, PressDraggedOffASectionButtonNeitherLatchesNorSwitches) {
    auto& help = window_->SectionButton(7);
    HWND button = help.Handle();
    Move(button, 5, 5);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    Move(button, 500, 500);
    // Leaving released the capture: the release happens over another window.
    EXPECT_NE(GetCapture(), button);
    PumpMessages(10);
    EXPECT_EQ(help.State(), kButtonNormal);
    EXPECT_EQ(window_->CurrentSection(), 1);
    EXPECT_EQ(window_->SectionButton(1).State(), kButtonDown);
}

TEST_F(ImageButtonTest, CaptionButtonShowsPressedOnlyWhileHeld) {
    HWND web = GetDlgItem(window_->Handle(), 1014);
    auto* button = static_cast<CSkinBitmapButton*>(ui::Window::FromHandle(web));
    ASSERT_NE(button, nullptr);
    Move(web, 3, 3);
    EXPECT_EQ(button->State(), kButtonHover);
    SendMessageA(web, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(button->State(), kButtonDown);
    SendMessageA(web, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(button->State(), kButtonNormal);
    PumpMessages(5);
    EXPECT_EQ(fakes_.userShell.Launches().size(), 1u);  // the click was reported
    EXPECT_TRUE(shell_.Requests().empty());
    Move(web, 3, 3);
    EXPECT_EQ(button->State(), kButtonHover);
}

TEST(MessageBoxHelper, DefaultCaptionIsTheProgramName) {
    std::vector<testing::MessageBoxWatcher::Box> boxes;
    {
        testing::MessageBoxWatcher watcher;
        ui::ShowMessage(nullptr, "text");
        ui::ShowMessage(nullptr, "text", "\xCC\xE1\xCA\xBE");  // 提示
        boxes = watcher.Boxes();
    }
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "tv_window_tests");
    EXPECT_EQ(boxes[1].caption, "\xCC\xE1\xCA\xBE");
}

}  // namespace
}  // namespace tv
