// A test that builds the whole main window over the fakes, opens the
// management section and works one of its sub-pages.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/win32/MainWindow.h"
#include "app/win32/ManagementContainer.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/WindowTestSupport.h"

namespace tv::testing {

template <typename PageType, int kTab>
class ManagementTabTest : public ::testing::Test {
protected:
    // Creates the window and opens the management section (the sub-page of
    // tab 1 shows; `kTab`'s page is created but not refreshed yet).
    void Open() {
        window_ = std::make_unique<MainWindow>(fakes_.Get());
        ASSERT_TRUE(window_->Create(nullptr));
        // The pages gather off this thread; wait until they are filled.
        ASSERT_TRUE(PumpMessagesUntil([&] { return window_->PagesFilled(); }));
        PumpMessages(30);
        Click(window_->SectionButton(kManagementSection).Handle());
        PumpMessages(5);
    }
    void TearDown() override { window_.reset(); }

    ManagementContainer& Container() const {
        return *static_cast<ManagementContainer*>(window_->Page(kManagementSection));
    }
    PageType& Page() const { return *static_cast<PageType*>(Container().Page(kTab)); }
    // The lists refresh off this thread: each click waits for their rows.
    void ClickTab(int tab) {
        Click(Container().TabButton(tab).Handle());
        WaitForLists();
    }
    // Presses a control of the page under test.
    void Press(int id) {
        Click(GetDlgItem(Page().Handle(), id));
        WaitForLists();
    }
    void WaitForLists() {
        ASSERT_TRUE(PumpMessagesUntil([&] { return Container().Filled(); }));
        PumpMessages(5);
    }

    static constexpr int kManagementSection = 4;
    FakePlatform fakes_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace tv::testing
