#include "platform/ui/Gathering.h"

#include <objbase.h>

namespace tv::ui {

namespace {

// A gathering checks for cancellation between its steps; the slowest single
// step (one management query) takes well under a second, so this bound is
// only reached when something hangs.
constexpr DWORD kEndWaitMs = 10000;

// How often, and how many times, the end of a gathering is announced again
// until the page has taken the value.
constexpr DWORD kRepostMs = 100;
constexpr int kAnnouncements = 100;

struct ThreadStart {
    std::shared_ptr<std::atomic<HWND>> target;
    WPARAM id;
    std::function<void(const std::atomic<bool>&)> work;
    std::shared_ptr<std::atomic<bool>> cancelled;
    std::shared_ptr<std::atomic<bool>> delivered;
    bool multithreaded;
};

DWORD WINAPI RunGathering(void* parameter) {
    std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
    {
        // Management queries are made from the multithreaded apartment.
        const bool com =
            start->multithreaded && SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        start->work(*start->cancelled);
        if (com) CoUninitialize();
    }
    // A posted message can be lost: a modal loop that ends while it takes
    // the message from the queue (a message box answered from another
    // thread, for one) drops it. So the end is announced again until the
    // page has taken the value, or the gathering is cancelled.
    auto over = [&] { return start->cancelled->load() || start->delivered->load(); };
    // A gathering started before its page waits for the page's window.
    while (!start->target->load() && !over()) Sleep(5);
    for (int announcement = 0; announcement < kAnnouncements; ++announcement) {
        if (over()) break;
        PostMessageA(start->target->load(), kGatheredMessage, start->id, 0);
        for (DWORD waited = 0; waited < kRepostMs; waited += 10) {
            if (over()) break;
            Sleep(10);
        }
    }
    return 0;
}

}  // namespace

void ReportPageFilled(HWND page) {
    HWND top = GetAncestor(page, GA_ROOT);
    if (top && top != page) SendMessageA(top, kPageFilledMessage, 0, reinterpret_cast<LPARAM>(page));
}

GatheringThread::~GatheringThread() {
    Cancel();
    Wait(kEndWaitMs);
}

bool GatheringThread::Running() const {
    return thread_ && WaitForSingleObject(thread_.Get(), 0) == WAIT_TIMEOUT;
}

bool GatheringThread::Wait(DWORD milliseconds) {
    return !thread_ || WaitForSingleObject(thread_.Get(), milliseconds) == WAIT_OBJECT_0;
}

bool GatheringThread::Start(HWND target, WPARAM id,
                            std::function<void(const std::atomic<bool>&)> work,
                            bool multithreaded) {
    if (Running()) return false;
    target_ = std::make_shared<std::atomic<HWND>>(target);
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
    delivered_ = std::make_shared<std::atomic<bool>>(false);
    auto start = std::make_unique<ThreadStart>(
        ThreadStart{target_, id, std::move(work), cancelled_, delivered_, multithreaded});
    ScopedHandle thread(CreateThread(nullptr, 0, RunGathering, start.get(), 0, nullptr));
    if (!thread) return false;
    start.release();  // the thread owns it now
    thread_ = std::move(thread);
    return true;
}

}  // namespace tv::ui
