// The real Trimvex.exe over the startup fixture, worked from outside as
// another program would: its startup list is read through the list view's
// own messages (with the texts in the program's memory), compared with the
// rows the fixture must give, and a Run entry is removed through the tab's
// button.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/Win32Registry.h"
#include "res/resource.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"
#include "tests/window/StartupFixture.h"

namespace tv {
namespace {

// Every row of the startup list as "column 0 | ... | column 4", sorted.
std::vector<std::string> Rows(const testing::RemoteListView& list) {
    std::vector<std::string> rows;
    for (int r = 0; r < list.ItemCount(); ++r) {
        std::string row = list.ItemText(r, 0);
        for (int c = 1; c < 5; ++c) row += " | " + list.ItemText(r, c);
        rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

int Find(const testing::RemoteListView& list, const std::string& name) {
    for (int r = 0; r < list.ItemCount(); ++r)
        if (list.ItemText(r, 0) == name) return r;
    return -1;
}

// The startup tab's list, on the page that also has the refresh button.
HWND StartupList(const testing::TrimvexProcess& program) {
    return GetDlgItem(program.PageWith({IDC_STARTUP_LIST, IDC_STARTUP_REFRESH}), IDC_STARTUP_LIST);
}

TEST(ProgramStartup, ListsTheFixtureRowsAndRemovesARunValue) {
    std::vector<std::string> baseline;
    {
        testing::TrimvexProcess program;
        ASSERT_NE(program.WaitForMain(), nullptr);
        testing::RemoteListView list(StartupList(program));
        ASSERT_TRUE(list);
        baseline = Rows(list);
    }
    Win32Registry registry;
    StartupFixture fixture(registry);
    ASSERT_TRUE(fixture.loaded);
    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND listWindow = StartupList(program);
    testing::RemoteListView list(listWindow);
    ASSERT_TRUE(list);
    const std::vector<std::string> expected = ExpectedRows(fixture, baseline);
    std::vector<std::string> rows = Rows(list);
    MatchShortcutCase(&rows, expected);
    EXPECT_EQ(rows, expected);

    // The management section, as the user sees it.
    HWND section = GetDlgItem(program.Main(), IDC_SECTION_MANAGEMENT);
    SendMessageA(program.Main(), WM_COMMAND, MAKEWPARAM(IDC_SECTION_MANAGEMENT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(section));
    SetWindowPos(program.Main(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    RedrawWindow(program.Main(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    std::string path = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\startup-program.png";
    EXPECT_TRUE(testing::SaveWindowPng(program.Main(), path)) << path;
    // The list filled while its page was hidden is drawn once shown: its
    // rows' text is on screen.
    RECT area{};
    GetWindowRect(listWindow, &area);
    const std::vector<std::uint32_t> shown =
        testing::ScreenPixels(listWindow, area.right - area.left, area.bottom - area.top);
    const auto dark = std::count_if(shown.begin(), shown.end(), [](std::uint32_t pixel) {
        return (pixel & 0xFF) < 0x60 && ((pixel >> 8) & 0xFF) < 0x60 && ((pixel >> 16) & 0xFF) < 0x60;
    });
    EXPECT_GT(dark, 500) << "the startup list is not drawn";

    // Removing the row of one Run value deletes that value and nothing else.
    int row = Find(list, "TvFixtureTool");
    ASSERT_GE(row, 0);
    list.Select(row);
    std::vector<std::string> before = fixture.Contents();
    HWND page = GetParent(listWindow);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_STARTUP_REMOVE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_STARTUP_REMOVE)));
    // The rescan that follows runs off the program's window thread.
    ASSERT_TRUE(program.WaitForLists());
    std::vector<std::string> after = fixture.Contents();
    before.erase(std::remove_if(before.begin(), before.end(),
                                [](const std::string& line) {
                                    return line.find("\\TvFixtureTool=") != std::string::npos;
                                }),
                 before.end());
    EXPECT_EQ(after, before);
    EXPECT_EQ(Find(list, "TvFixtureTool"), -1);
    EXPECT_EQ(list.ItemCount(), static_cast<int>(expected.size()) - 1);
}

// A Run value named in Hangul (no character of it is in code page 936)
// beside one literally named as the ANSI calls spell it: the list shows the
// Hangul name whole, and removing its row deletes that value, not the other.
TEST(ProgramStartup, ANameInAnyScriptShowsWholeAndOnlyItGoes) {
    const std::u16string run = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::u16string hangul = u"TvHangul\uCE74\uCE74\uC624\uD1A1";
    const std::u16string decoy = u"TvHangul????";
    Win32Registry registry;
    RegHandle key = 0;
    ASSERT_EQ(registry.CreateKeyW(kHkeyCurrentUser, run, &key), kErrorSuccess);
    struct Cleanup {
        Win32Registry& registry;
        RegHandle key;
        std::u16string names[2];
        ~Cleanup() {
            for (const std::u16string& name : names) registry.DeleteValueW(key, name);
            registry.CloseKey(key);
        }
    } cleanup{registry, key, {hangul, decoy}};
    for (const auto& [name, data] : {std::pair{hangul, std::u16string(u"C:\\\uCE74\\k.exe")},
                                     std::pair{decoy, std::u16string(u"C:\\decoy.exe")}}) {
        const std::u16string stored = data + u'\0';
        ASSERT_EQ(registry.SetValueW(key, name, kRegSz, stored.data(),
                                     static_cast<std::uint32_t>(stored.size() * 2)),
                  kErrorSuccess);
    }

    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND listWindow = StartupList(program);
    testing::RemoteListView list(listWindow);
    ASSERT_TRUE(list);
    int row = -1, decoys = 0;
    for (int r = 0; r < list.ItemCount(); ++r) {
        if (list.ItemTextW(r, 0) == hangul) row = r;
        if (list.ItemText(r, 0) == "TvHangul????") ++decoys;
    }
    ASSERT_GE(row, 0);
    EXPECT_EQ(decoys, 2);
    list.Select(row);
    HWND page = GetParent(listWindow);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_STARTUP_REMOVE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_STARTUP_REMOVE)));
    EXPECT_EQ(registry.QueryValueW(key, hangul, nullptr, nullptr, nullptr), kErrorFileNotFound);
    EXPECT_EQ(registry.QueryValueW(key, decoy, nullptr, nullptr, nullptr), kErrorSuccess);
}

}  // namespace
}  // namespace tv
