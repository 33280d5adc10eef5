// The hand-off of gathered values, on a message-only window standing in for
// the main window: what its timer brings, and what a page can take when.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
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
        if (self && message != WM_TIMER) ++self->others_;
        if (self && message == WM_TIMER && wParam == ui::kHandOffTimer) ++self->ticks_;
        if (self && ui::HandOff(window, message, wParam, [self] {
                if (std::optional<std::string> value = self->gathering_.Take())
                    self->taken_.push_back(*value);
                return self->gathering_.Pending();
            }))
            return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    }

    // Work that gives `value` once `release` is set.
    ui::Gathering<std::string>::Work Giving(std::string value) {
        return [this, value](const std::function<bool()>&) {
            while (!release_) Sleep(1);
            return value;
        };
    }

    static GatheringTest* current_;
    HWND window_ = nullptr;
    ui::Gathering<std::string> gathering_;
    std::atomic<bool> release_{true};
    // Messages other than timer ticks.
    int others_ = 0;
    int ticks_ = 0;
    std::vector<std::string> taken_;
};

GatheringTest* GatheringTest::current_ = nullptr;

// A modal loop that takes every posted message and drops it loses nothing:
// the value comes by the timer, made anew for each tick.
TEST_F(GatheringTest, ALoopThatDropsPostedMessagesLosesNothing) {
    ui::SetHandOffWindow(window_);
    gathering_.Start(Giving("rows"));
    MSG dropped;
    for (const DWORD begin = GetTickCount(); GetTickCount() - begin < 300; Sleep(1))
        while (PeekMessageA(&dropped, window_, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) {
        }
    ASSERT_TRUE(PumpMessagesUntil([&] { return !taken_.empty(); }, 2000));
    EXPECT_EQ(taken_, std::vector<std::string>{"rows"});
    EXPECT_FALSE(gathering_.Pending());
}

// Once the value is taken, the window hears nothing more: nothing is posted
// to it, and its timer stops.
TEST_F(GatheringTest, AfterTheTakeNothingMoreArrives) {
    ui::SetHandOffWindow(window_);
    gathering_.Start(Giving("rows"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return !taken_.empty(); }, 5000));
    const int ticks = ticks_;
    PumpMessages(300);
    EXPECT_EQ(others_, 0);
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

    gathering_.Start([](const std::function<bool()>&) -> std::string { throw std::bad_alloc(); });
    ASSERT_TRUE(PumpMessagesUntil([&] { return taken_.size() == 2; }, 5000));
    EXPECT_EQ(taken_[1], "");
    EXPECT_FALSE(gathering_.Pending());
}

// Gathered before the window that hands values over exists: the thread
// posts nothing, and the window, once it is there, hands the value over by
// its timer.
TEST_F(GatheringTest, NothingIsPostedBeforeTheWindowExists) {
    std::atomic<bool> done{false};
    gathering_.Start([&](const std::function<bool()>&) {
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
    EXPECT_EQ(others_, 0);
}

// Started again while its work runs: the running work is told to stop, the
// new one begins only once it has, and only the new value is taken.
TEST_F(GatheringTest, StartedAgainWhileRunningShowsOnlyTheNewValue) {
    ui::SetHandOffWindow(window_);
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    std::atomic<bool> firstSawStop{false};
    auto work = [&](const char* value) {
        return [&, value](const std::function<bool()>& stop) {
            const int now = ++running;
            if (now > most) most = now;
            const DWORD begin = GetTickCount();
            bool stopped = false;
            while (!(stopped = stop()) && !release_ && GetTickCount() - begin < 5000) Sleep(1);
            if (stopped) firstSawStop = true;
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

// The page shows how far a long scan has come: each stop check counts.
TEST_F(GatheringTest, ProgressCountsTheStopChecks) {
    ui::SetHandOffWindow(window_);
    release_ = false;
    gathering_.Start([this](const std::function<bool()>& stop) {
        for (int i = 0; i < 7; ++i) stop();
        while (!release_) Sleep(1);
        return std::string("rows");
    });
    ASSERT_TRUE(PumpMessagesUntil([&] { return gathering_.Progress() == 7; }, 5000));
    release_ = true;
    ASSERT_TRUE(PumpMessagesUntil([&] { return !taken_.empty(); }, 5000));
    EXPECT_EQ(gathering_.Progress(), 0);
}

// Started again and again while the first runs: each one dropped stops
// before it does any work, and only the last value is taken.
TEST_F(GatheringTest, OnlyTheNewestOfManyStartsIsTaken) {
    ui::SetHandOffWindow(window_);
    std::atomic<int> worked{0};
    release_ = false;
    auto work = [&](int value) {
        return [&, value](const std::function<bool()>& stop) {
            ++worked;
            // The first runs on until every start is made, however slowly
            // the test's thread is scheduled meanwhile.
            while (!release_ && (value == 0 || !stop())) Sleep(1);
            return std::to_string(value);
        };
    };
    gathering_.Start(work(0));
    ASSERT_TRUE(PumpMessagesUntil([&] { return worked == 1; }, 5000));
    for (int i = 1; i <= 5; ++i) gathering_.Start(work(i));
    release_ = true;
    ASSERT_TRUE(PumpMessagesUntil([&] { return !taken_.empty(); }, 5000));
    PumpMessages(100);
    EXPECT_EQ(taken_, std::vector<std::string>{"5"});
    EXPECT_EQ(worked, 2);  // the first, then the newest; none in between
}

// The end waits for a stoppable thread only until its deadline, but for a
// thread without a stop flag (a service restart) until it is done.
TEST(BackgroundThreadsTest, TheEndWaitsWholeOnlyForWorkThatCannotBeCut) {
    auto stop = std::make_shared<std::atomic<bool>>(false);
    std::atomic<bool> release{false};
    ASSERT_TRUE(StartBackgroundThread([&] { while (!release) Sleep(1); }, stop));
    DWORD begin = GetTickCount();
    EXPECT_FALSE(EndBackgroundThreads(200));
    const DWORD cut = GetTickCount() - begin;
    EXPECT_GE(cut, 150u);
    EXPECT_LT(cut, 1500u);
    EXPECT_TRUE(stop->load());
    release = true;
    EXPECT_TRUE(EndBackgroundThreads(5000));

    std::atomic<bool> done{false};
    ASSERT_TRUE(StartBackgroundThread([&] {
        Sleep(600);
        done = true;
    }));
    begin = GetTickCount();
    EXPECT_TRUE(EndBackgroundThreads(50));
    EXPECT_TRUE(done.load());
    EXPECT_GE(GetTickCount() - begin, 400u);
}

// An exception a work lets out ends only that work.
TEST(BackgroundThreadsTest, AThrowingWorkEndsOnlyItself) {
    ASSERT_TRUE(StartBackgroundThread([] { throw std::bad_alloc(); }));
    EXPECT_TRUE(EndBackgroundThreads(5000));
}

}  // namespace
}  // namespace tv
