// Page data gathered off the user-interface thread:
// - Start runs the work on a thread of its own, which keeps the value in its
//   own slot, marks the slot ended and touches nothing else.
// - While any gathering is pending a timer ticks on the hand-off window (the
//   main window), and on each tick every page may Take. Timer messages are
//   made anew, so no modal loop loses one.
// - A Start while a work runs sets that work's stop flag and drops its value;
//   the new work begins once the old one has ended.
// - Cancel sets the stop flag; the end of the program waits for every thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace tv::ui {

constexpr UINT_PTR kHandOffTimer = 0x6A7;
constexpr UINT kHandOffPeriodMs = 20;
// Sent up to the main window when a page's fill has begun or ended.
constexpr UINT kPageFilledMessage = WM_APP + 0x171;
// On the main window while every page is filled and no list is gathered.
constexpr char kPagesFilledProperty[] = "TrimvexPagesFilled";

void ReportPageFilled(HWND page);
// The window that lets the pages take what was gathered; null for none.
void SetHandOffWindow(HWND window);
// On the timer, `takeAll` lets every page take and says whether any is still
// pending; the timer stops once none is. False for any other message.
bool HandOff(HWND window, UINT message, WPARAM wParam, const std::function<bool()>& takeAll);

namespace detail {
struct Run {
    std::shared_ptr<std::atomic<bool>> stop = std::make_shared<std::atomic<bool>>(false);
    std::atomic<int> checks{0};  // stop checks so far: the work's progress
    std::atomic<bool> ended{false};
};
// Runs `body` on a thread once `after` (if any) has ended, then marks `run`
// ended; without a thread, here and now.
void Begin(std::shared_ptr<Run> run, std::shared_ptr<Run> after, std::function<void()> body);
}  // namespace detail

// One value of type T; a work that throws gives an empty T.
template <typename T>
class Gathering {
public:
    // `stop` answers whether to end early, and counts the work's progress.
    using Work = std::function<T(const std::function<bool()>& stop)>;

    Gathering() = default;
    ~Gathering() { Cancel(); }
    Gathering(const Gathering&) = delete;
    Gathering& operator=(const Gathering&) = delete;

    void Start(Work work) {
        std::shared_ptr<Slot> previous = std::move(slot_);
        if (previous) previous->stop->store(true);
        auto slot = slot_ = std::make_shared<Slot>();
        detail::Begin(slot, previous, [slot, work = std::move(work)] {
            slot->value = work([&run = *slot] { return ++run.checks, run.stop->load(); });
        });
    }
    // The value, once, after the newest work has ended.
    std::optional<T> Take() {
        if (!slot_ || !slot_->ended) return std::nullopt;
        const std::shared_ptr<Slot> slot = std::move(slot_);
        return slot->value ? std::move(*slot->value) : T{};
    }
    bool Pending() const { return slot_ != nullptr; }
    int Progress() const { return slot_ ? slot_->checks.load() : 0; }
    void Cancel() {
        if (slot_) slot_->stop->store(true);
        slot_.reset();
    }

private:
    struct Slot : detail::Run {
        std::optional<T> value;
    };
    std::shared_ptr<Slot> slot_;
};

}  // namespace tv::ui
