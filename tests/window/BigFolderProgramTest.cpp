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
#include "tests/support/HostShell.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

constexpr int kFiles = 3000;
// What the window must answer within while the rescan runs.
constexpr DWORD kAnswerMs = 200;
constexpr DWORD kCloseMs = 3000;

// Small files of a type whose icon is each file's own (so every row costs a
// look-up), put into the startup folder; gone again at the end. Under Wine
// one host shell writes and removes them all: thousands of Windows file
// calls would take seconds each way.
class BigStartupFolder {
public:
    explicit BigStartupFolder(int count) {
        char folder[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, 0, folder))) return;
        folder_ = folder;
        CreateDirectoryA(folder, nullptr);
        host_ = UnixPath(folder_);
        if (!host_.empty()) {
            char temp[MAX_PATH] = {};
            GetTempPathA(MAX_PATH, temp);
            const std::string done = std::string(temp) + "tvbig-written";
            RunHostShell("cd '" + host_ + "' && i=0 && while [ $i -lt " + std::to_string(count) +
                             " ]; do printf MZ > tvbig$i.exe; i=$((i + 1)); done; : > '" + UnixPath(done) +
                             "'\n",
                         done, true);
            DeleteFileA(done.c_str());
        } else {
            for (int i = 0; i < count; ++i) {
                HANDLE file = CreateFileA(Path(i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
                if (file == INVALID_HANDLE_VALUE) break;
                DWORD written = 0;
                WriteFile(file, "MZ", 2, &written, nullptr);
                CloseHandle(file);
            }
        }
        // Those there with their two bytes, read in one walk of the folder.
        WIN32_FIND_DATAA data{};
        HANDLE find = FindFirstFileA((folder_ + "\\tvbig*.exe").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return;
        do count_ += data.nFileSizeLow == 2 ? 1 : 0;
        while (FindNextFileA(find, &data));
        FindClose(find);
    }
    ~BigStartupFolder() {
        if (!host_.empty()) {
            RunHostShell("rm -f '" + host_ + "'/tvbig*.exe\n", Path(0), false);
            return;
        }
        for (int i = 0; i < count_; ++i) DeleteFileA(Path(i).c_str());
    }
    int Count() const { return count_; }

private:
    std::string Path(int i) const { return folder_ + "\\tvbig" + std::to_string(i) + ".exe"; }

    std::string folder_;
    std::string host_;
    int count_ = 0;
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
