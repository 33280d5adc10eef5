// The real Trimvex.exe over planted startup entries: the signature column
// fills in once the list is shown, the search typed into the page keeps only
// the rows holding its text, and the check box hides nothing Windows did not
// sign. Under Wine no file is signed by Windows' own publisher, so the box
// must leave every row and say so.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

constexpr int kStartupSignature = 5;
const char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kFolder[] = "C:\\tvsig";
const char kUnsigned[] = "C:\\tvsig\\tvunsigned.exe";
const char kMissing[] = "C:\\tvsig\\tvmissing.exe";

// Two Run values of the user's: an unsigned program planted for the test
// and a program that is not there; both gone again at the end.
class PlantedEntries {
public:
    PlantedEntries() {
        CreateDirectoryA(kFolder, nullptr);
        copied_ = CopyFileA((testing::ProgramDirectory() + "tv_sleeper.exe").c_str(), kUnsigned, FALSE) != 0;
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        set_ = Set(key, "TvSigUnsigned", kUnsigned) && Set(key, "TvSigMissing", kMissing);
        RegCloseKey(key);
    }
    ~PlantedEntries() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "TvSigUnsigned");
            RegDeleteValueA(key, "TvSigMissing");
            RegCloseKey(key);
        }
        DeleteFileA(kUnsigned);
        RemoveDirectoryA(kFolder);
    }
    bool Ready() const { return copied_ && set_; }

private:
    static bool Set(HKEY key, const char* name, const char* data) {
        return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                              static_cast<DWORD>(lstrlenA(data) + 1)) == ERROR_SUCCESS;
    }
    bool copied_ = false;
    bool set_ = false;
};

int Find(const testing::RemoteListView& list, const std::string& name) {
    for (int r = 0; r < list.ItemCount(); ++r)
        if (list.ItemText(r, 0) == name) return r;
    return -1;
}

std::vector<std::string> Names(const testing::RemoteListView& list) {
    std::vector<std::string> names;
    for (int r = 0; r < list.ItemCount(); ++r) names.push_back(list.ItemText(r, 0));
    return names;
}

void Shoot(HWND main, const char* name) {
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    const std::string shot = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\" + name;
    EXPECT_TRUE(testing::SaveWindowPng(main, shot)) << shot;
}

TEST(ProgramListFilter, StartupSearchAndCheckBoxOverTheSignatureColumn) {
    PlantedEntries planted;
    ASSERT_TRUE(planted.Ready());
    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND page = program.OpenTab(IDC_TAB_STARTUP, {IDC_STARTUP_LIST, IDC_STARTUP_REFRESH});
    ASSERT_NE(page, nullptr);
    HWND listWindow = GetDlgItem(page, IDC_STARTUP_LIST);
    testing::RemoteListView list(listWindow);
    ASSERT_TRUE(list);
    const std::vector<std::string> every = Names(list);

    // The lists are filled once every verdict is in: the planted program
    // carries no signature, the missing one no file.
    const int unsignedRow = Find(list, "TvSigUnsigned");
    const int missingRow = Find(list, "TvSigMissing");
    ASSERT_GE(unsignedRow, 0);
    ASSERT_GE(missingRow, 0);
    EXPECT_EQ(list.ItemText(unsignedRow, kStartupSignature), "未签名");
    EXPECT_EQ(list.ItemText(missingRow, kStartupSignature), "");

    HWND search = GetDlgItem(page, IDC_LIST_SEARCH);
    HWND box = GetDlgItem(page, IDC_LIST_HIDE_WINDOWS);
    HWND count = GetDlgItem(page, IDC_LIST_HIDDEN_COUNT);
    ASSERT_NE(search, nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(testing::WindowText(count), "");

    // Typed into the page's search field: only the planted rows, whatever
    // the letter case.
    SetWindowTextA(search, "TVSIG");
    Sleep(100);
    std::vector<std::string> found = Names(list);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"TvSigMissing", "TvSigUnsigned"}));

    // Nothing here is Windows' own: the box hides no row, and says so.
    SendMessageA(box, BM_CLICK, 0, 0);
    Sleep(100);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(list.ItemCount(), 2);
    EXPECT_EQ(testing::WindowText(count), "已隐藏 0 项");
    SetWindowTextA(search, "");
    Sleep(100);
    EXPECT_EQ(Names(list), every);
    EXPECT_EQ(testing::WindowText(count), "已隐藏 0 项");
    // A refresh keeps the filter and the verdicts.
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_STARTUP_REFRESH, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_STARTUP_REFRESH)));
    ASSERT_TRUE(program.WaitForLists());
    EXPECT_EQ(list.ItemCount(), static_cast<int>(every.size()));
    EXPECT_EQ(list.ItemText(Find(list, "TvSigUnsigned"), kStartupSignature), "未签名");

    // The page as the user sees it: the search typed, the box ticked, the
    // list scrolled to its signature column.
    SetWindowTextA(search, "tvsig");
    Sleep(100);
    SetWindowPos(program.Main(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    SendMessageA(listWindow, LVM_SCROLL, 600, 0);
    Shoot(program.Main(), "startup-signature-filter.png");
    SendMessageA(listWindow, LVM_SCROLL, static_cast<WPARAM>(-600), 0);
    SetWindowTextA(search, "");
    SendMessageA(box, BM_CLICK, 0, 0);
}

TEST(ProgramListFilter, ServicesShowTheirSignatureColumnAndFilterBar) {
    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    // Timed for the record: the tab's first scan with its column filled,
    // then a refresh, whose verdicts come from the page's cache.
    DWORD begun = GetTickCount();
    HWND page = program.OpenTab(IDC_TAB_SERVICES, {IDC_SERVICE_LIST, IDC_SERVICE_STOP});
    ASSERT_NE(page, nullptr);
    const DWORD first = GetTickCount() - begun;
    HWND listWindow = GetDlgItem(page, IDC_SERVICE_LIST);
    testing::RemoteListView list(listWindow);
    ASSERT_TRUE(list);
    const int rows = list.ItemCount();
    ASSERT_GT(rows, 0);
    begun = GetTickCount();
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_SERVICE_REFRESH, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_SERVICE_REFRESH)));
    ASSERT_TRUE(program.WaitForLists());
    const DWORD refresh = GetTickCount() - begun;
    std::printf("services: %d rows, listed and verified in %lu ms, refreshed in %lu ms\n", rows,
                static_cast<unsigned long>(first), static_cast<unsigned long>(refresh));
    EXPECT_EQ(list.ItemCount(), rows);
    // Every service's file has its verdict; Wine's own files carry no
    // signature, so none is hidden.
    HWND box = GetDlgItem(page, IDC_LIST_HIDE_WINDOWS);
    SendMessageA(box, BM_CLICK, 0, 0);
    Sleep(100);
    EXPECT_EQ(list.ItemCount(), rows);
    EXPECT_EQ(testing::WindowText(GetDlgItem(page, IDC_LIST_HIDDEN_COUNT)), "已隐藏 0 项");
    // Typed: only services whose shown texts hold it.
    HWND search = GetDlgItem(page, IDC_LIST_SEARCH);
    SetWindowTextA(search, "svchost");
    Sleep(100);
    const int found = list.ItemCount();
    EXPECT_GT(found, 0);
    EXPECT_LT(found, rows);
    for (int r = 0; r < found; ++r) {
        std::string shown;
        for (int c = 0; c < 12; ++c) shown += list.ItemText(r, c) + "|";
        std::transform(shown.begin(), shown.end(), shown.begin(), [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        });
        EXPECT_NE(shown.find("svchost"), std::string::npos) << shown;
    }
    SetWindowPos(program.Main(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    SendMessageA(listWindow, LVM_SCROLL, 1200, 0);
    Shoot(program.Main(), "services-signature-filter.png");
}

}  // namespace
}  // namespace tv
