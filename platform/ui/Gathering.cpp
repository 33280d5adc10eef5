#include "platform/ui/Gathering.h"

#include "platform/win32/BackgroundThreads.h"

namespace tv::ui {

namespace {
HWND handOffWindow = nullptr;  // touched only by the user-interface thread
void StartTimer() {
    if (handOffWindow) SetTimer(handOffWindow, kHandOffTimer, kHandOffPeriodMs, nullptr);
}
}  // namespace

void ReportPageFilled(HWND page) {
    HWND top = GetAncestor(page, GA_ROOT);
    if (top && top != page) SendMessageA(top, kPageFilledMessage, 0, reinterpret_cast<LPARAM>(page));
}

void SetHandOffWindow(HWND window) {
    handOffWindow = window;
    StartTimer();  // its first tick stops it if nothing is pending
}

bool HandOff(HWND window, UINT message, WPARAM wParam, const std::function<bool()>& takeAll) {
    if (message != WM_TIMER || wParam != kHandOffTimer) return false;
    if (!takeAll()) KillTimer(window, kHandOffTimer);
    return true;
}

void detail::Begin(std::shared_ptr<Run> run, std::shared_ptr<Run> after, std::function<void()> body) {
    auto end = [run, after = std::move(after), body = std::move(body)] {
        while (after && !after->ended) Sleep(1);  // never two works of one gathering at once
        try {
            if (!*run->stop) body();
        } catch (...) {
            // The value stays empty.
        }
        run->ended.store(true);
    };
    StartTimer();
    if (!StartBackgroundThread(end, run->stop)) end();
}

}  // namespace tv::ui
