// The real Trimvex.exe over the startup fixture, worked from outside as
// another program would: its startup list is read through the list view's
// own messages (with the texts in the program's memory), compared with the
// rows the fixture must give, and a Run entry is removed through the tab's
// button.
#include <windows.h>
#include <commctrl.h>

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

namespace tv {
namespace {

// A REG_SZ of a key, read through the Unicode call; empty when absent.
std::u16string ReadSz(Win32Registry& registry, RegHandle root, const std::u16string& path,
                      const std::u16string& name, std::uint32_t view) {
    RegHandle key = 0;
    if (registry.OpenKeyW(root, path, kKeyRead | view, &key) != kErrorSuccess) return {};
    char16_t buffer[1024] = {};
    std::uint32_t size = sizeof(buffer) - 2;
    std::uint32_t type = 0;
    const long status = registry.QueryValueW(key, name, &type, buffer, &size);
    registry.CloseKey(key);
    return status == kErrorSuccess && type == kRegSz ? std::u16string(buffer) : std::u16string();
}

int FindDisabled(const testing::RemoteListView& list, const std::string& name) {
    for (int r = 0; r < list.ItemCount(); ++r) {
        const std::string subkey = list.ItemText(r, 3);
        const std::string mark = "[已禁用]";
        // The mark leads the subkey column, so it shows however narrow it is.
        if (list.ItemText(r, 0) == name && subkey.compare(0, mark.size(), mark) == 0) return r;
    }
    return -1;
}

void Click(HWND page, int id) {
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

// A Run value and a file of the user's startup folder switched off through
// the page's button are recorded where the system configuration tool keeps
// them (read here on their own), then switched back on.
TEST(ProgramStartup, DisablesAndEnablesARunValueAndAStartupFile) {
    const std::u16string run = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::u16string records = u"SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg";
    const std::u16string folderRecords = u"SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupfolder";
    Win32Registry registry;
    RegHandle key = 0;
    ASSERT_EQ(registry.CreateKeyW(kHkeyCurrentUser, run, &key), kErrorSuccess);
    const std::u16string data = u"C:\\TvDisable\\tvdisable.exe";
    const std::string bytes(reinterpret_cast<const char*>(data.c_str()), (data.size() + 1) * 2);
    ASSERT_EQ(registry.SetValueW(key, u"TvDisableMe", kRegSz, bytes.data(),
                                 static_cast<std::uint32_t>(bytes.size())),
              kErrorSuccess);
    const std::u16string startup =
        ReadSz(registry, kHkeyCurrentUser, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               u"Startup", 0);
    ASSERT_FALSE(startup.empty());
    CreateDirectoryW(reinterpret_cast<const wchar_t*>(startup.c_str()), nullptr);
    const std::u16string file = startup + u"\\TvDisableFile.bat";
    {
        HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(file.c_str()), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(h, "rem\r\n", 5, &written, nullptr);
        CloseHandle(h);
    }
    const std::u16string folderRecord = [&] {
        std::u16string name = file;
        for (char16_t& c : name)
            if (c == u'\\') c = u'^';
        return name;
    }();
    struct Cleanup {
        Win32Registry& registry;
        RegHandle key;
        std::u16string file, records, folderRecords, folderRecord, backup;
        ~Cleanup() {
            if (!backup.empty()) DeleteFileW(reinterpret_cast<const wchar_t*>(backup.c_str()));
            registry.DeleteValueW(key, u"TvDisableMe");
            registry.CloseKey(key);
            DeleteFileW(reinterpret_cast<const wchar_t*>(file.c_str()));
            RegHandle parent = 0;
            if (registry.OpenKeyW(kHkeyLocalMachine, records, kKeyAllAccess | kKeyWow64_64Key, &parent) == 0) {
                registry.DeleteKeyW(parent, u"TvDisableMe", kKeyWow64_64Key);
                registry.CloseKey(parent);
            }
            if (registry.OpenKeyW(kHkeyLocalMachine, folderRecords, kKeyAllAccess | kKeyWow64_64Key, &parent) == 0) {
                registry.DeleteKeyW(parent, folderRecord, kKeyWow64_64Key);
                registry.CloseKey(parent);
            }
        }
    } cleanup{registry, key, file, records, folderRecords, folderRecord, {}};

    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND listWindow = StartupList(program);
    testing::RemoteListView list(listWindow);
    ASSERT_TRUE(list);
    HWND page = GetParent(listWindow);
    for (const char* name : {"TvDisableMe", "TvDisableFile.bat"}) {
        const int row = Find(list, name);
        ASSERT_GE(row, 0) << name;
        list.Select(row);
        Click(page, IDC_STARTUP_DISABLE);
        ASSERT_TRUE(program.WaitForLists());
        const int disabled = FindDisabled(list, name);
        EXPECT_GE(disabled, 0) << name;
        if (name == std::string("TvDisableMe") && disabled >= 0) {
            // The page with the value switched off and the file still on.
            const int enabled = Find(list, "TvDisableFile.bat");
            EXPECT_GE(enabled, 0);
            SendMessageA(listWindow, LVM_ENSUREVISIBLE, static_cast<WPARAM>(enabled), FALSE);
            SendMessageA(listWindow, LVM_ENSUREVISIBLE, static_cast<WPARAM>(disabled), FALSE);
            HWND section = GetDlgItem(program.Main(), IDC_SECTION_MANAGEMENT);
            SendMessageA(program.Main(), WM_COMMAND, MAKEWPARAM(IDC_SECTION_MANAGEMENT, BN_CLICKED),
                         reinterpret_cast<LPARAM>(section));
            SetWindowPos(program.Main(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
            RedrawWindow(program.Main(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Sleep(300);
            CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
            const std::string shot = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\startup-disabled.png";
            EXPECT_TRUE(testing::SaveWindowPng(program.Main(), shot)) << shot;
            // The mark is in the subkey column, right of the first view.
            SendMessageA(listWindow, LVM_SCROLL, 400, 0);
            RedrawWindow(program.Main(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Sleep(300);
            const std::string marked =
                testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\startup-disabled-row-mark.png";
            EXPECT_TRUE(testing::SaveWindowPng(program.Main(), marked)) << marked;
            SendMessageA(listWindow, LVM_SCROLL, static_cast<WPARAM>(-400), 0);
        }
    }
    // Gone from their places, recorded in the 64-bit view of HKLM.
    EXPECT_TRUE(ReadSz(registry, kHkeyCurrentUser, run, u"TvDisableMe", 0).empty());
    const std::u16string record = records + u"\\TvDisableMe";
    EXPECT_EQ(ReadSz(registry, kHkeyLocalMachine, record, u"hkey", kKeyWow64_64Key), u"HKCU");
    EXPECT_EQ(ReadSz(registry, kHkeyLocalMachine, record, u"key", kKeyWow64_64Key),
              u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_EQ(ReadSz(registry, kHkeyLocalMachine, record, u"command", kKeyWow64_64Key), data);
    EXPECT_EQ(ReadSz(registry, kHkeyLocalMachine, record, u"item", kKeyWow64_64Key), u"tvdisable");
    EXPECT_EQ(ReadSz(registry, kHkeyLocalMachine, record, u"inimapping", kKeyWow64_64Key), u"0");
    EXPECT_EQ(GetFileAttributesW(reinterpret_cast<const wchar_t*>(file.c_str())), INVALID_FILE_ATTRIBUTES);
    const std::u16string backup =
        ReadSz(registry, kHkeyLocalMachine, folderRecords + u"\\" + folderRecord, u"backup", kKeyWow64_64Key);
    // Numbered when a file of that name is there from before.
    EXPECT_NE(backup.find(u"\\pss\\TvDisableFile.bat"), std::u16string::npos);
    EXPECT_EQ(backup.size() > 8 ? backup.substr(backup.size() - 8) : backup, u".Startup");
    cleanup.backup = backup;
    EXPECT_EQ(ReadSz(registry, kHkeyLocalMachine, folderRecords + u"\\" + folderRecord, u"path", kKeyWow64_64Key),
              file);

    for (const char* name : {"TvDisableMe", "TvDisableFile.bat"}) {
        const int row = FindDisabled(list, name);
        ASSERT_GE(row, 0) << name;
        list.Select(row);
        Click(page, IDC_STARTUP_ENABLE);
        ASSERT_TRUE(program.WaitForLists());
        EXPECT_EQ(FindDisabled(list, name), -1) << name;
        EXPECT_GE(Find(list, name), 0) << name;
    }
    EXPECT_EQ(ReadSz(registry, kHkeyCurrentUser, run, u"TvDisableMe", 0), data);
    EXPECT_NE(GetFileAttributesW(reinterpret_cast<const wchar_t*>(file.c_str())), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(ReadSz(registry, kHkeyLocalMachine, record, u"hkey", kKeyWow64_64Key).empty());
}

}  // namespace
}  // namespace tv
