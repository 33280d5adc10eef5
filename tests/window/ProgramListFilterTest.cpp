// The real Trimvex.exe over planted startup entries: the signature column
// fills in once the list is shown, the search typed into the page keeps only
// the rows holding its text, and the check box hides nothing Windows did not
// sign. Under Wine no file is signed by Windows' own publisher (and a test
// signer's is not), so the box must leave every row and say so.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <utility>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

constexpr int kStartupSignature = 5;
const char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string Samples() { return testing::ProgramDirectory() + "signed\\"; }

std::string ReadStatus() {
    std::ifstream in(Samples() + "status.txt");
    std::string status;
    std::getline(in, status);
    return status;
}

// Run values of the user's naming the signing samples (signed under a test
// root the machine trusts for the test, the same file with a byte changed,
// an unsigned copy) and a program that is not there; all gone again at the
// end, the root too.
class PlantedEntries {
public:
    PlantedEntries() {
        status_ = ReadStatus();
        if (status_ != "ok") return;
        rooted_ = RootStore("add") == 0;
        HKEY key = nullptr;
        if (!rooted_ || RegCreateKeyExA(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                        &key, nullptr) != ERROR_SUCCESS)
            return;
        set_ = true;
        for (const auto& [name, file] : kEntries) {
            const std::string data = Samples() + file;
            set_ = set_ && RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
        }
        RegCloseKey(key);
    }
    ~PlantedEntries() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            for (const auto& entry : kEntries) RegDeleteValueA(key, entry.first);
            RegCloseKey(key);
        }
        if (rooted_) RootStore("remove");
    }
    // Empty when ready, else what is missing.
    std::string Problem() const {
        if (status_ != "ok") return status_.empty() ? "no signed samples were made" : status_;
        if (!rooted_) return "the test root could not be added";
        return set_ ? "" : "the Run values could not be set";
    }

private:
    static long RootStore(const char* action) {
        return testing::RunAndWait("\"" + testing::ProgramDirectory() + "tv_rootstore.exe\" " + action +
                                       " \"" + Samples() + "root.der\"",
                                   true);
    }
    static constexpr std::pair<const char*, const char*> kEntries[] = {
        {"TvSigSigned", "signed.exe"},
        {"TvSigTampered", "tampered.exe"},
        {"TvSigUnsigned", "unsigned.exe"},
        {"TvSigMissing", "missing.exe"},
    };
    std::string status_;
    bool rooted_ = false;
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
    ASSERT_EQ(planted.Problem(), "");
    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND page = program.OpenTab(IDC_TAB_STARTUP, {IDC_STARTUP_LIST, IDC_STARTUP_REFRESH});
    ASSERT_NE(page, nullptr);
    HWND listWindow = GetDlgItem(page, IDC_STARTUP_LIST);
    testing::RemoteListView list(listWindow);
    ASSERT_TRUE(list);
    const std::vector<std::string> every = Names(list);

    // The lists are filled once every verdict is in.
    const struct {
        const char* name;
        const char* cell;
    } verdicts[] = {{"TvSigSigned", "已验证：Trimvex Test Signer"},
                    {"TvSigTampered", "签名无效"},
                    {"TvSigUnsigned", "未签名"},
                    {"TvSigMissing", ""}};
    for (const auto& v : verdicts) {
        const int row = Find(list, v.name);
        ASSERT_GE(row, 0) << v.name;
        EXPECT_EQ(list.ItemText(row, kStartupSignature), v.cell) << v.name;
    }

    HWND search = GetDlgItem(page, IDC_LIST_SEARCH);
    HWND box = GetDlgItem(page, IDC_LIST_HIDE_WINDOWS);
    HWND count = GetDlgItem(page, IDC_LIST_HIDDEN_COUNT);
    ASSERT_NE(search, nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(testing::WindowText(count), "");

    // Typed into the page's search field: only the planted rows, whatever
    // the letter case. The page filters as it is told of the change, so
    // the list is filtered when the text (or a click) has been taken.
    SetWindowTextA(search, "TVSIG");
    std::vector<std::string> found = Names(list);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"TvSigMissing", "TvSigSigned", "TvSigTampered",
                                               "TvSigUnsigned"}));

    // Nothing here is Windows' own, the verified signer included: the box
    // hides no row, and says so.
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(list.ItemCount(), 4);
    EXPECT_EQ(testing::WindowText(count), "已隐藏 0 项");
    SetWindowTextA(search, "");
    EXPECT_EQ(Names(list), every);
    EXPECT_EQ(testing::WindowText(count), "已隐藏 0 项");
    // A refresh keeps the filter and the verdicts.
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_STARTUP_REFRESH, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_STARTUP_REFRESH)));
    ASSERT_TRUE(program.WaitForLists());
    EXPECT_EQ(list.ItemCount(), static_cast<int>(every.size()));
    EXPECT_EQ(list.ItemText(Find(list, "TvSigSigned"), kStartupSignature), "已验证：Trimvex Test Signer");

    // The page as the user sees it: the search typed, the box ticked, the
    // list scrolled to its signature column.
    SetWindowTextA(search, "tvsig");
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
    EXPECT_EQ(list.ItemCount(), rows);
    EXPECT_EQ(testing::WindowText(GetDlgItem(page, IDC_LIST_HIDDEN_COUNT)), "已隐藏 0 项");
    // Typed: only services whose shown texts hold it.
    HWND search = GetDlgItem(page, IDC_LIST_SEARCH);
    SetWindowTextA(search, "svchost");
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
