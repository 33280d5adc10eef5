// Starts the real Trimvex.exe, finds its window by title and works it from
// outside, as a user (or a script) would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/VersionNotice.h"
#include "app/win32/MainWindow.h"
#include "platform/win32/ScopedHandle.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

// Owns a process started for the test; ends it if the test did not.
class ChildProcess {
public:
    explicit ChildProcess(const std::string& path) {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        std::string command = "\"" + path + "\"";
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        PROCESS_INFORMATION info{};
        if (CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info)) {
            ScopedHandle thread(info.hThread);
            process_.Reset(info.hProcess);
            id_ = info.dwProcessId;
        }
    }
    ~ChildProcess() {
        if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.Get(), 1);
            WaitForSingleObject(process_.Get(), 5000);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const { return id_; }
    bool WaitForExit(DWORD milliseconds, DWORD* code) const {
        if (WaitForSingleObject(process_.Get(), milliseconds) != WAIT_OBJECT_0) return false;
        return GetExitCodeProcess(process_.Get(), code) != 0;
    }

private:
    ScopedHandle process_;
    DWORD id_ = 0;
};

// A visible top-level window of `process` with the given class and title.
HWND FindProcessWindow(DWORD process, const char* className, const char* title) {
    struct Search {
        DWORD process;
        const char* className;
        const char* title;
        HWND found;
    } search{process, className, title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char name[64] = {};
            char text[256] = {};
            GetClassNameA(window, name, sizeof(name));
            GetWindowTextA(window, text, sizeof(text));
            if (owner == s->process && IsWindowVisible(window) && std::string(name) == s->className &&
                std::string(text) == s->title) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD process, const char* className, const char* title, DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        if (HWND window = FindProcessWindow(process, className, title)) return window;
        Sleep(20);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

LocalDate Today() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

TEST(Program, OpensItsWindowIgnoresEscAndEnterAndClosesWithCode0) {
    ChildProcess program(testing::ProgramDirectory() + "..\\Trimvex.exe");
    ASSERT_TRUE(program.Started());

    if (IsVersionNoticeDue(Today())) {
        HWND notice = WaitForWindow(program.Id(), "#32770", "Trimvex", 20000);
        ASSERT_NE(notice, nullptr) << "the outdated-version notice did not appear";
        char text[256] = {};
        GetDlgItemTextA(notice, 0xFFFF, text, sizeof(text));
        EXPECT_STREQ(text, kNoticeText);
        PostMessageA(notice, WM_COMMAND, IDOK, 0);
    }

    HWND window = WaitForWindow(program.Id(), "#32770", kMainWindowTitle, 20000);
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
    std::string path = testing::ProgramDirectory() + "..\\Trimvex.exe";
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
