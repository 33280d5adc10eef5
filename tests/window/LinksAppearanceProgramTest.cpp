// The real Trimvex.exe worked from outside: the help page's advisor and
// empty-search message, and the appearance page's tweaks, compared with an
// independent reading of the same drives and registry.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/VersionNotice.h"
#include "app/win32/MainWindow.h"
#include "platform/win32/ScopedHandle.h"
#include "tests/support/AdvisorReading.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

using testing::PostClick;
using testing::WindowText;

TEST(ProgramPages, HelpAdvisorAndEmptySearchMessage) {
    testing::TrimvexProcess program;
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForMain(), nullptr);
    program.ShowSection(1004);
    HWND help = program.PageWith({1067, 1033, 1012, 1008});
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(IsWindowVisible(help));

    HWND advice = GetDlgItem(help, 1067);
    EXPECT_EQ(WindowText(advice), "如果安装双系统我应该如何选择分区呢?");
    std::string report;
    EXPECT_TRUE(testing::ReportMatchesTheDrives(
        [&] {
            SetWindowTextA(advice, "");
            PostClick(help, 1012);
            std::string text;
            for (int i = 0; i < 200 && (text = WindowText(advice)).empty(); ++i) Sleep(10);
            return text;
        },
        &report))
        << report << " / " << testing::IndependentAdvice();

    SetDlgItemTextA(help, 1008, "w");
    PostClick(help, 1009);
    HWND box = nullptr;
    for (int i = 0; i < 250 && !(box = program.FindTopLevel("Trimvex", "#32770")); ++i) Sleep(20);
    ASSERT_NE(box, nullptr) << "no message box for a one-letter search";
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), "请先在左边方框中输入问题描述或关键字");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

DWORD ReadDword(HKEY root, const char* path, const char* name) {
    DWORD value = 0xFFFFFFFF, size = sizeof(value), type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        value = 0xFFFFFFFF;
    RegCloseKey(key);
    return value;
}

TEST(ProgramPages, AppearanceTweaksReachTheRegistry) {
    const char kMachineExplorer[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMachineExplorer, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Max Cached Icons");
        RegCloseKey(key);
    }
    testing::TrimvexProcess program;
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForMain(), nullptr);
    program.ShowSection(1002);
    HWND page = program.PageWith({1037, 1043, 1044, 1013});
    ASSERT_NE(page, nullptr);
    for (int id : {1013, 1015, 1016, 1017})
        EXPECT_EQ(SendMessageA(GetDlgItem(page, id), BM_GETCHECK, 0, 0), BST_CHECKED) << id;
    SendMessageA(GetDlgItem(page, 1017), BM_SETCHECK, BST_UNCHECKED, 0);
    PostClick(page, 1037);
    DWORD icons = 0xFFFFFFFF;
    for (int i = 0; i < 250 && (icons = ReadDword(HKEY_LOCAL_MACHINE, kMachineExplorer,
                                                  "Max Cached Icons")) == 0xFFFFFFFF;
         ++i)
        Sleep(20);
    EXPECT_EQ(icons, 4089u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, "Software\\Microsoft\\Search Assistant",
                        "UseAdvancedSearchAlways"),
              0u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, "Control Pane\\Desktop", "FeedbackToolEnabled"), 1u);
}

}  // namespace
}  // namespace tv
