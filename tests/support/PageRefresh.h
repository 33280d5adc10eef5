// Waiting for a sub-page's refresh, which runs off this thread: the page is
// let take its rows as the main window's hand-off would, whoever hosts it.
#pragma once

#include "platform/ui/SectionPage.h"
#include "tests/support/WindowTestSupport.h"

namespace tv::testing {

inline bool WaitForRefresh(SectionPage& page) {
    return PumpMessagesUntil([&] {
        page.TakeGathered();
        return page.Filled();
    });
}

// Refreshes the page and waits for its rows.
inline bool RefreshAndWait(SubPage& page) {
    page.Refresh();
    return WaitForRefresh(page);
}

}  // namespace tv::testing
