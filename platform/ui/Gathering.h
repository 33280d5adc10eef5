// Page data gathered off the user-interface thread, and how it reaches the
// page:
// - Start runs the work on a thread of its own. The thread keeps the value
//   in its own slot, marks the slot ended and touches nothing else.
// - While any gathering is pending, a timer ticks on the hand-off window (the
//   main window); on each tick every page may Take (HandOff). Timer messages
//   are made anew, so no modal loop loses one.
// - A Start while a work runs sets that work's stop flag and drops its
//   value; the new work begins once the old one has ended, so only the
//   newest value is ever taken.
// - Cancel sets the stop flag; the end of the program waits for every
//   thread (EndBackgroundThreads).
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace tv::ui {

// The hand-off window's timer, running while any gathering is pending.
constexpr UINT_PTR kHandOffTimer = 0x6A7;
constexpr UINT kHandOffPeriodMs = 20;
// Sent up to the main window when a page has filled its controls, or has
// begun to fill them afresh.
constexpr UINT kPageFilledMessage = WM_APP + 0x171;
// Property of the main window, there while every page has filled its
// controls and no list is being gathered; scripts and tests wait for it.
constexpr char kPagesFilledProperty[] = "TrimvexPagesFilled";

// Tells the top-level window that a page's fill has begun or ended.
void ReportPageFilled(HWND page);

// The window that lets the pages take what was gathered; null for none.
void SetHandOffWindow(HWND window);
// For a message of the hand-off window: on the timer `takeAll` lets every
// page take and says whether any is still pending; the timer stops once
// none is. False for any other message.
bool HandOff(HWND window, UINT message, WPARAM wParam, const std::function<bool()>& takeAll);

namespace detail {
struct Run {
    std::shared_ptr<std::atomic<bool>> stop = std::make_shared<std::atomic<bool>>(false);
    // Stop checks made so far: what a page shows as the work's progress.
    std::atomic<int> checks{0};
    std::atomic<bool> ended{false};
};
// Runs `body` on a background thread once `after` (if any) has ended, then
// marks `run` ended; without a thread, here and now. Starts the timer.
void Begin(std::shared_ptr<Run> run, std::shared_ptr<Run> after, std::function<void()> body);
}  // namespace detail

// A gathering that produces one value of type T; a work that throws gives
// an empty T.
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
        auto slot = std::make_shared<Slot>();
        slot_ = slot;
        detail::Begin(slot, previous, [slot, work = std::move(work)] {
            slot->value = work([&run = *slot] {
                ++run.checks;
                return run.stop->load();
            });
        });
    }
    // The value, once, after the newest work has ended.
    std::optional<T> Take() {
        if (!slot_ || !slot_->ended) return std::nullopt;
        // No value: the work failed, and the page shows nothing.
        std::optional<T> value = std::move(slot_->value);
        slot_.reset();
        return value ? std::move(value) : T{};
    }
    // From Start until the value is taken or the gathering cancelled.
    bool Pending() const { return slot_ != nullptr; }
    // How far the running work has come, in stop checks.
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
