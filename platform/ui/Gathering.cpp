#include "platform/ui/Gathering.h"

#include <objbase.h>

#include "platform/win32/BackgroundThreads.h"

namespace tv::ui {

namespace {

// Read by the workers, so it never goes away.
std::atomic<HWND> handOffWindow{nullptr};
// Touched only by the user-interface thread.
int pending = 0;

void StartTimer() {
    if (HWND window = handOffWindow.load()) SetTimer(window, kHandOffTimer, kHandOffPeriodMs, nullptr);
}

}  // namespace

void ReportPageFilled(HWND page) {
    HWND top = GetAncestor(page, GA_ROOT);
    if (top && top != page) SendMessageA(top, kPageFilledMessage, 0, reinterpret_cast<LPARAM>(page));
}

void SetHandOffWindow(HWND window) {
    handOffWindow.store(window);
    if (pending > 0) StartTimer();
}

bool HandOff(HWND window, UINT message, WPARAM wParam, const std::function<void()>& takeAll) {
    if (message != kGatheredMessage && !(message == WM_TIMER && wParam == kHandOffTimer))
        return false;
    takeAll();
    if (pending == 0) KillTimer(window, kHandOffTimer);
    return true;
}

namespace detail {

void CountPending(int change) {
    pending += change;
    if (change > 0 && pending == 1) StartTimer();
}

void Begin(std::shared_ptr<Run> run, std::function<void()> body, bool multithreaded) {
    auto end = [run, body = std::move(body), multithreaded] {
        {
            // Management queries are made from the multithreaded apartment.
            const bool com =
                multithreaded && SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
            try {
                body();
            } catch (...) {
                // The value stays empty.
            }
            if (com) CoUninitialize();
        }
        run->ended.store(true);
        if (HWND window = handOffWindow.load()) PostMessageA(window, kGatheredMessage, 0, 0);
    };
    if (StartBackgroundThread(end, run->cancelled)) return;
    end();
}

}  // namespace detail

}  // namespace tv::ui
