// The real program with thousands of files in the user's startup folder,
// put there after it has started: a click on the startup tab begins a long
// rescan, during which the window must answer at once and a close must end
// the process promptly.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

constexpr int kFiles = 3000;
// What the window must answer within while the rescan runs.
constexpr DWORD kAnswerMs = 200;
constexpr DWORD kCloseMs = 3000;

// Small files of a type whose icon is each file's own (so every row costs a
// look-up), put into the startup folder; gone again at the end.
class BigStartupFolder {
public:
    explicit BigStartupFolder(int count) {
        char folder[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, 0, folder))) return;
        CreateDirectoryA(folder, nullptr);
        for (int i = 0; i < count; ++i) {
            std::string path = std::string(folder) + "\\tvbig" + std::to_string(i) + ".exe";
            HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) break;
            DWORD written = 0;
            WriteFile(file, "MZ", 2, &written, nullptr);
            CloseHandle(file);
            made_.push_back(std::move(path));
        }
    }
    ~BigStartupFolder() {
        for (const std::string& path : made_) DeleteFileA(path.c_str());
    }
    int Count() const { return static_cast<int>(made_.size()); }

private:
    std::vector<std::string> made_;
};

// How long the window takes to answer a message; kept at the bound when it
// does not answer within it.
DWORD AnswerTime(HWND window, DWORD bound) {
    const DWORD begin = GetTickCount();
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, bound * 10, &ignored)) return bound * 10;
    return GetTickCount() - begin;
}

// The page's child whose text begins with the scan's sign, or null.
HWND ScanSign(HWND page) {
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (testing::WindowText(child).rfind("正在扫描", 0) == 0) return child;
    return nullptr;
}

TEST(BigFolderProgram, ARescanOfThousandsOfFilesLeavesTheWindowAnsweringAndTheCloseQuick) {
    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    BigStartupFolder folder(kFiles);
    ASSERT_EQ(folder.Count(), kFiles);
    HWND main = program.Main();

    // The tab click itself returns at once; the rows come later.
    DWORD begin = GetTickCount();
    HWND page = program.ClickTab(IDC_TAB_STARTUP, {IDC_STARTUP_LIST, IDC_STARTUP_REMOVE});
    const DWORD click = GetTickCount() - begin;
    ASSERT_NE(page, nullptr);
    EXPECT_LT(click, kAnswerMs);
    EXPECT_EQ(GetPropA(main, "TrimvexPagesFilled"), nullptr) << "the rescan ended at once";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_STARTUP_REMOVE)));

    // Asked again and again while the scan runs, the window answers at once.
    DWORD slowest = 0;
    HWND sign = nullptr;
    for (begin = GetTickCount(); GetTickCount() - begin < 1500; Sleep(50)) {
        const DWORD answer = AnswerTime(main, kAnswerMs);
        if (answer > slowest) slowest = answer;
        if (!sign) sign = ScanSign(page);
    }
    std::printf("%d startup files: tab click %lu ms, slowest answer during the rescan %lu ms\n",
                kFiles, click, slowest);
    EXPECT_LE(slowest, kAnswerMs);
    ASSERT_EQ(GetPropA(main, "TrimvexPagesFilled"), nullptr) << "the rescan ended too soon to tell";
    // Past half a second the page says what it is doing.
    EXPECT_NE(sign, nullptr);
    EXPECT_TRUE(IsWindowVisible(sign));

    // The close, in the middle of the rescan, ends the process promptly.
    begin = GetTickCount();
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_CLOSE_BUTTON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_CLOSE_BUTTON)));
    DWORD code = 1;
    const bool ended = program.WaitForExit(kCloseMs + 5000, &code);
    const DWORD close = GetTickCount() - begin;
    std::printf("%d startup files: closed %lu ms after the click\n", kFiles, close);
    ASSERT_TRUE(ended);
    EXPECT_LE(close, kCloseMs);
    EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace tv
