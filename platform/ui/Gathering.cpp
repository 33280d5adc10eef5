#include "platform/ui/Gathering.h"

#include "platform/win32/BackgroundThreads.h"

namespace tv::ui {

namespace {
// Touched only by the user-interface thread.
HWND handOffWindow = nullptr;
}  // namespace

void ReportPageFilled(HWND page) {
    HWND top = GetAncestor(page, GA_ROOT);
    if (top && top != page) SendMessageA(top, kPageFilledMessage, 0, reinterpret_cast<LPARAM>(page));
}

void SetHandOffWindow(HWND window) {
    handOffWindow = window;
    // The first tick stops the timer if nothing is pending.
    if (window) SetTimer(window, kHandOffTimer, kHandOffPeriodMs, nullptr);
}

bool HandOff(HWND window, UINT message, WPARAM wParam, const std::function<bool()>& takeAll) {
    if (message != WM_TIMER || wParam != kHandOffTimer) return false;
    if (!takeAll()) KillTimer(window, kHandOffTimer);
    return true;
}

namespace detail {

void Begin(std::shared_ptr<Run> run, std::shared_ptr<Run> after, std::function<void()> body) {
    auto end = [run, after = std::move(after), body = std::move(body)] {
        // Never two works of one gathering at once.
        while (after && !after->ended) Sleep(1);
        try {
            if (!*run->stop) body();
        } catch (...) {
            // The value stays empty.
        }
        run->ended.store(true);
    };
    if (handOffWindow) SetTimer(handOffWindow, kHandOffTimer, kHandOffPeriodMs, nullptr);
    if (!StartBackgroundThread(end, run->stop)) end();
}

}  // namespace detail

}  // namespace tv::ui
