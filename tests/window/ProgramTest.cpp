// Starts the real Trimvex.exe, finds its window by title and works it from
// outside, as a user (or a script) would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/VersionNotice.h"
#include "app/win32/MainWindow.h"
#include "tests/support/TrimvexProcess.h"

namespace tv {
namespace {

LocalDate Today() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

TEST(Program, OpensItsWindowIgnoresEscAndEnterAndClosesWithCode0) {
    testing::TrimvexProcess program;
    ASSERT_TRUE(program.Started());

    if (IsVersionNoticeDue(Today())) {
        HWND notice = program.WaitForTopLevel("Trimvex", "#32770", 20000);
        ASSERT_NE(notice, nullptr) << "the outdated-version notice did not appear";
        char text[256] = {};
        GetDlgItemTextA(notice, 0xFFFF, text, sizeof(text));
        EXPECT_STREQ(text, kNoticeText);
        PostMessageA(notice, WM_COMMAND, IDOK, 0);
    }

    HWND window = program.WaitForTopLevel(kMainWindowTitle, "#32770", 20000);
    ASSERT_NE(window, nullptr) << "no window titled " << kMainWindowTitle;

    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        PostMessageA(window, WM_KEYDOWN, key, 1);
        PostMessageA(window, WM_KEYUP, key, 0xC0000001);
    }
    DWORD code = 0;
    EXPECT_FALSE(program.WaitForExit(500, &code)) << "Esc or Enter closed the program";
    EXPECT_TRUE(IsWindowVisible(window));

    PostMessageA(window, WM_COMMAND, MAKEWPARAM(1012, BN_CLICKED), 0);
    ASSERT_TRUE(program.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

TEST(Program, CarriesVersion1200) {
    std::string path = testing::TrimvexProcess::BuiltProgram();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010002u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010002u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);
    char* product = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\080404b0\\ProductVersion",
                               reinterpret_cast<void**>(&product), &length));
    EXPECT_STREQ(product, "1.2.0.0");
}

}  // namespace
}  // namespace tv
