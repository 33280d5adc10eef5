// The hand-off of gathered values, on a message-only window standing in for
// the main window: what is posted to it, what its timer brings, and what a
// page can take when.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Gathering.h"
#include "platform/win32/BackgroundThreads.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

using testing::PumpMessages;
using testing::PumpMessagesUntil;

class GatheringTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA type{};
        type.lpfnWndProc = Procedure;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "TvGatheringTest";
        RegisterClassA(&type);
        window_ = CreateWindowExA(0, type.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  type.hInstance, nullptr);
        ASSERT_NE(window_, nullptr);
        current_ = this;
    }
    void TearDown() override {
        gathering_.Cancel();
        ui::SetHandOffWindow(nullptr);
        EXPECT_TRUE(EndBackgroundThreads(2000));
        DestroyWindow(window_);
        current_ = nullptr;
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        GatheringTest* self = current_;
        if (self && message == ui::kGatheredMessage) ++self->posts_;
        if (self && message == WM_TIMER && wParam == ui::kHandOffTimer) ++self->ticks_;
        if (self && ui::HandOff(window, message, wParam, [self] {
                if (std::optional<std::string> value = self->gathering_.Take())
                    self->taken_.push_back(*value);
            }))
            return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    }

    // Work that gives `value` once `release` is set.
    ui::Gathering<std::string>::Work Giving(std::string value) {
        return [this, value](const std::atomic<bool>&) {
            while (!release_) Sleep(1);
            return value;
        };
    }

    static GatheringTest* current_;
    HWND window_ = nullptr;
    ui::Gathering<std::string> gathering_;
    std::atomic<bool> release_{true};
    int posts_ = 0;
    int ticks_ = 0;
    std::vector<std::string> taken_;
};

GatheringTest* GatheringTest::current_ = nullptr;

// A modal loop that ends as it takes the post drops it: the timer still
// brings the value.
TEST_F(GatheringTest, ASwallowedPostIsStillDelivered) {
    ui::SetHandOffWindow(window_);
    gathering_.Start(Giving("rows"));
    // Taken from the queue and never dispatched.
    MSG dropped;
    bool swallowed = false;
    for (const DWORD begin = GetTickCount(); !swallowed && GetTickCount() - begin < 5000; Sleep(1))
        swallowed = PeekMessageA(&dropped, window_, ui::kGatheredMessage, ui::kGatheredMessage,
                                 PM_REMOVE) != FALSE;
    ASSERT_TRUE(swallowed);
    EXPECT_EQ(posts_, 0);
    ASSERT_TRUE(PumpMessagesUntil([&] { return !taken_.empty(); }, 2000));
    EXPECT_EQ(taken_, std::vector<std::string>{"rows"});
    EXPECT_FALSE(gathering_.Pending());
}

// Once the value is taken, the window hears nothing more: no post, no tick.
TEST_F(GatheringTest, AfterTheTakeNothingMoreArrives) {
    ui::SetHandOffWindow(window_);
    gathering_.Start(Giving("rows"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return !taken_.empty(); }, 5000));
    const int posts = posts_;
    const int ticks = ticks_;
    PumpMessages(300);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(posts_, posts);
    EXPECT_EQ(ticks_, ticks);
}

// The post and every tick try to take; the value comes out once. A work
// that throws gives an empty value, so its page is filled all the same.
TEST_F(GatheringTest, AValueIsTakenOnce) {
    ui::SetHandOffWindow(window_);
    release_ = false;
    gathering_.Start(Giving("rows"));
    PumpMessages(150);  // ticks before the value is there
    EXPECT_TRUE(taken_.empty());
    release_ = true;
    ASSERT_TRUE(PumpMessagesUntil([&] { return !taken_.empty(); }, 5000));
    PumpMessages(150);
    EXPECT_EQ(taken_, std::vector<std::string>{"rows"});
    EXPECT_EQ(gathering_.Take(), std::nullopt);

    gathering_.Start([](const std::atomic<bool>&) -> std::string { throw std::bad_alloc(); });
    ASSERT_TRUE(PumpMessagesUntil([&] { return taken_.size() == 2; }, 5000));
    EXPECT_EQ(taken_[1], "");
    EXPECT_FALSE(gathering_.Pending());
}

// Gathered before the window that hands values over exists: the thread
// posts nothing, and the window, once it is there, hands the value over by
// its timer.
TEST_F(GatheringTest, NothingIsPostedBeforeTheWindowExists) {
    std::atomic<bool> done{false};
    gathering_.Start([&](const std::atomic<bool>&) {
        done = true;
        return std::string("rows");
    });
    ASSERT_TRUE(PumpMessagesUntil([&] { return done.load(); }, 5000));
    PumpMessages(100);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, window_, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(gathering_.Pending());
    ui::SetHandOffWindow(window_);
    ASSERT_TRUE(PumpMessagesUntil([&] { return !taken_.empty(); }, 2000));
    EXPECT_EQ(taken_, std::vector<std::string>{"rows"});
    EXPECT_EQ(posts_, 0);
}

// Started again while its work runs: the running work is told to stop, the
// new one begins only once it has, and only the new value is taken.
TEST_F(GatheringTest, StartedAgainWhileRunningShowsOnlyTheNewValue) {
    ui::SetHandOffWindow(window_);
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    std::atomic<bool> firstSawStop{false};
    auto work = [&](const char* value) {
        return [&, value](const std::atomic<bool>& cancelled) {
            const int now = ++running;
            if (now > most) most = now;
            const DWORD begin = GetTickCount();
            while (!cancelled && !release_ && GetTickCount() - begin < 5000) Sleep(1);
            if (cancelled) firstSawStop = true;
            --running;
            return std::string(value);
        };
    };
    release_ = false;
    gathering_.Start(work("old"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return running == 1; }, 5000));
    gathering_.Start(work("new"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return firstSawStop.load(); }, 5000));
    release_ = true;
    ASSERT_TRUE(PumpMessagesUntil([&] { return !taken_.empty(); }, 5000));
    PumpMessages(150);
    EXPECT_EQ(taken_, std::vector<std::string>{"new"});
    EXPECT_EQ(most, 1);
}

}  // namespace
}  // namespace tv
