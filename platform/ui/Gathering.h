// A page's data gathered on a thread of its own; the result comes back to
// the page's window as a posted message and is taken there, on the
// user-interface thread, so controls are only ever touched by that thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "platform/win32/ScopedHandle.h"

namespace tv::ui {

// Posted to a page when its gathering has ended (wParam: the gathering's
// own message id, so a page with several can tell them apart).
constexpr UINT kGatheredMessage = WM_APP + 0x170;
// Sent up to the main window when a page has filled its controls.
constexpr UINT kPageFilledMessage = WM_APP + 0x171;
// Property of the main window, set once every page gathered at start has
// filled its controls; scripts and tests outside the process wait for it.
constexpr char kPagesFilledProperty[] = "TrimvexPagesFilled";

// Tells the top-level window that a page has filled its controls.
void ReportPageFilled(HWND page);

// The thread behind a gathering. Ending the owner (or Cancel) asks the work
// to stop at its next check; the destructor waits for the thread, so the
// work never outlives the services it reads.
class GatheringThread {
public:
    GatheringThread() = default;
    ~GatheringThread();
    GatheringThread(const GatheringThread&) = delete;
    GatheringThread& operator=(const GatheringThread&) = delete;

    // Runs `work` on a new thread (in the multithreaded apartment when
    // `multithreaded`; otherwise each call sets up COM as it needs), then
    // posts kGatheredMessage with `id` to `target`, again until the value is
    // taken (MarkDelivered). A null `target` holds the announcements back
    // until SetTarget names the window: a gathering may start before its
    // page exists. False when no thread could be started, or one still runs.
    bool Start(HWND target, WPARAM id, std::function<void(const std::atomic<bool>& cancelled)> work,
               bool multithreaded = false);
    // The window told once the work has ended.
    void SetTarget(HWND target) { target_->store(target); }
    bool Running() const;
    void Cancel() { cancelled_->store(true); }
    // The page has taken what the work produced: no more announcements.
    void MarkDelivered() { delivered_->store(true); }
    // Waits for the work to end (bounded); true when it has.
    bool Wait(DWORD milliseconds);

private:
    ScopedHandle thread_;
    std::shared_ptr<std::atomic<HWND>> target_ = std::make_shared<std::atomic<HWND>>(nullptr);
    std::shared_ptr<std::atomic<bool>> cancelled_ = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<bool>> delivered_ = std::make_shared<std::atomic<bool>>(false);
};

// A gathering that produces one value of type T.
template <typename T>
class Gathering {
public:
    using Work = std::function<T(const std::atomic<bool>& cancelled)>;

    // Starts `work` off this thread; its value is taken with Take once the
    // page gets kGatheredMessage with `id` (see GatheringThread::Start for a
    // null target).
    bool Start(HWND target, WPARAM id, Work work, bool multithreaded = false) {
        if (thread_.Running()) return false;
        auto slot = std::make_shared<Slot>();
        slot_ = slot;
        return thread_.Start(
            target, id,
            [slot, work = std::move(work)](const std::atomic<bool>& cancelled) {
                T value = work(cancelled);
                std::lock_guard<std::mutex> lock(slot->mutex);
                slot->value = std::move(value);
            },
            multithreaded);
    }
    // The value, once; empty before the work has ended or after a Take.
    std::optional<T> Take() {
        if (!slot_) return std::nullopt;
        std::lock_guard<std::mutex> lock(slot_->mutex);
        std::optional<T> value = std::move(slot_->value);
        slot_->value.reset();
        if (value) thread_.MarkDelivered();
        return value;
    }
    bool Running() const { return thread_.Running(); }
    // True once Start has run, whether or not the work has ended.
    bool Started() const { return slot_ != nullptr; }
    void SetTarget(HWND target) { thread_.SetTarget(target); }
    void Cancel() { thread_.Cancel(); }

private:
    struct Slot {
        std::mutex mutex;
        std::optional<T> value;
    };
    std::shared_ptr<Slot> slot_;
    GatheringThread thread_;
};

}  // namespace tv::ui
