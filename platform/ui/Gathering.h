// Page data gathered off the user-interface thread, and how it reaches the
// page:
// - Start runs the work on a thread of its own. The thread keeps the value
//   in the gathering, posts kGatheredMessage once to the hand-off window (the
//   main window) and ends; it waits for nothing.
// - While any gathering is pending, a timer ticks on the hand-off window. On
//   the message and on every tick the window lets each page Take its value
//   (HandOff); a page takes once its window exists. Timer messages are made
//   anew, so a modal loop that drops the post loses nothing.
// - Take hands a value over once. A Start while the thread still runs
//   cancels it; the new work begins once it has stopped.
// - The end of the program cancels every thread and waits for them once
//   (EndBackgroundThreads). A thread still running after that touches only
//   its own value and the services, which live as long as the process.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace tv::ui {

// Posted to the hand-off window when a gathering has ended.
constexpr UINT kGatheredMessage = WM_APP + 0x170;
// The hand-off window's timer, running while any gathering is pending.
constexpr UINT_PTR kHandOffTimer = 0x6A7;
constexpr UINT kHandOffPeriodMs = 50;
// Sent up to the main window when a page has filled its controls.
constexpr UINT kPageFilledMessage = WM_APP + 0x171;
// Property of the main window, set once every page gathered at start has
// filled its controls; scripts and tests outside the process wait for it.
constexpr char kPagesFilledProperty[] = "TrimvexPagesFilled";

// Tells the top-level window that a page has filled its controls.
void ReportPageFilled(HWND page);

// The window that lets the pages take what was gathered; null for none.
void SetHandOffWindow(HWND window);
// For a message of the hand-off window: on kGatheredMessage and on the
// timer, `takeAll` lets every page take, and the timer stops once nothing
// is pending. False for any other message.
bool HandOff(HWND window, UINT message, WPARAM wParam, const std::function<void()>& takeAll);

namespace detail {
struct Run {
    // Shared with the thread, which sets `ended` once the value is kept.
    std::shared_ptr<std::atomic<bool>> cancelled = std::make_shared<std::atomic<bool>>(false);
    std::atomic<bool> ended{false};
};
// Runs `body` on a background thread (in the multithreaded apartment when
// `multithreaded`), then marks `run` ended and posts to the hand-off window.
// Without a thread the body runs here and now.
void Begin(std::shared_ptr<Run> run, std::function<void()> body, bool multithreaded);
// Counts the pending gatherings; the first one starts the hand-off timer.
void CountPending(int change);
}  // namespace detail

// A gathering that produces one value of type T; a work that throws gives
// an empty T.
template <typename T>
class Gathering {
public:
    using Work = std::function<T(const std::atomic<bool>& cancelled)>;

    Gathering() = default;
    ~Gathering() { Cancel(); }
    Gathering(const Gathering&) = delete;
    Gathering& operator=(const Gathering&) = delete;

    void Start(Work work, bool multithreaded = false) {
        if (slot_ && !slot_->ended) {
            // Never two at once: the running one stops at its next check.
            slot_->cancelled->store(true);
            next_ = std::move(work);
            nextMultithreaded_ = multithreaded;
            return;
        }
        SetPending(true);
        auto slot = std::make_shared<Slot>();
        slot_ = slot;
        detail::Begin(
            slot,
            [slot, work = std::move(work)] {
                T value = work(*slot->cancelled);
                if (!*slot->cancelled) slot->value = std::move(value);
            },
            multithreaded);
    }
    // The value, once, after the work has ended.
    std::optional<T> Take() {
        if (!slot_ || !slot_->ended) return std::nullopt;
        if (next_) {
            slot_.reset();
            Work next = std::move(next_);
            next_ = nullptr;
            Start(std::move(next), nextMultithreaded_);
            return std::nullopt;
        }
        // No value: the work failed, and the page shows nothing.
        T value = slot_->value ? std::move(*slot_->value) : T{};
        slot_.reset();
        SetPending(false);
        return value;
    }
    // From Start until the value is taken or the gathering cancelled.
    bool Pending() const { return pending_; }
    void Cancel() {
        if (slot_) slot_->cancelled->store(true);
        slot_.reset();
        next_ = nullptr;
        SetPending(false);
    }

private:
    struct Slot : detail::Run {
        std::optional<T> value;
    };
    void SetPending(bool pending) {
        if (pending != pending_) detail::CountPending(pending ? 1 : -1);
        pending_ = pending;
    }

    std::shared_ptr<Slot> slot_;
    Work next_;
    bool nextMultithreaded_ = false;
    bool pending_ = false;
};

}  // namespace tv::ui
