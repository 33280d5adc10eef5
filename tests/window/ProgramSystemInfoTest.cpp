// Starts the real Trimvex.exe and reads its system information page from
// outside (labels by window text, list rows through the list's messages
// with a buffer in the program's memory), compared with this process's own
// reading of the same system.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/VersionNotice.h"
#include "app/win32/MainWindow.h"
#include "platform/win32/ScopedHandle.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

TEST(ProgramSystemInfo, ShowsThisMachinesFactsAndHardware) {
    testing::TrimvexProcess program;
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitForMain();
    ASSERT_NE(main, nullptr);

    HWND page = program.PageWith({1047, 1068});
    ASSERT_NE(page, nullptr);
    HWND computer = GetDlgItem(page, 1047);
    EXPECT_TRUE(IsWindowVisible(page));
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    ASSERT_TRUE(GetComputerNameA(name, &size));
    EXPECT_EQ(testing::WindowText(computer), std::string(name) + "  [正常模式登录]");
    char user[257] = {};
    size = sizeof(user);
    ASSERT_TRUE(GetUserNameA(user, &size));
    EXPECT_EQ(testing::WindowText(GetDlgItem(page, 1048)), std::string(user) + "   [Admin 管理权限]");
    OSVERSIONINFOEXA v{};
    v.dwOSVersionInfoSize = sizeof(v);
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&v)));
    if (v.dwMajorVersion == 6 && v.dwMinorVersion == 1 && v.wProductType == 1) {
        EXPECT_EQ(testing::WindowText(GetDlgItem(page, 1049)),
                  "Windows 7 [Build " + std::to_string(v.dwBuildNumber) + "]");
    }
    EXPECT_EQ(testing::WindowText(GetDlgItem(page, 1050)), "Service Pack " + std::to_string(v.wServicePackMajor));
    EXPECT_NE(testing::WindowText(GetDlgItem(page, 1051)).find(" 小时 "), std::string::npos);

    HWND list = GetDlgItem(page, 1068);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 6);
    testing::RemoteListView rows(list);
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows.ItemText(0, 0), "CPU");
    EXPECT_EQ(rows.ItemText(5, 0), "光驱");
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof(memory);
    ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
    EXPECT_EQ(rows.ItemText(1, 1), "物理 " + std::to_string((memory.ullTotalPhys >> 20) + 1) + " MB ");
    const std::string cpu = rows.ItemText(0, 1);
    ASSERT_GT(cpu.size(), 4u);
    EXPECT_EQ(cpu.substr(cpu.size() - 4), " MHz") << cpu;
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
    for (int row = 1; row < 6; ++row)
        EXPECT_EQ(rows.ItemPosition(row).y - rows.ItemPosition(row - 1).y, 50) << row;

    // What the user sees at start, taken from the screen.
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    const std::string shot = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\program-system-info.png";
    EXPECT_TRUE(testing::SaveWindowPng(main, shot)) << shot;

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(1012, BN_CLICKED), 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

}  // namespace
}  // namespace tv
