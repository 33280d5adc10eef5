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
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

struct Started {
    ScopedHandle process;
    DWORD id = 0;
};

Started Start(const std::string& path) {
    Started started;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string command = "\"" + path + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    PROCESS_INFORMATION info{};
    if (CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        ScopedHandle thread(info.hThread);
        started.process.Reset(info.hProcess);
        started.id = info.dwProcessId;
    }
    return started;
}

HWND TopLevel(DWORD process, const std::string& title) {
    struct Search {
        DWORD process;
        const std::string* title;
        HWND found;
    } search{process, &title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char text[256] = {};
            GetWindowTextA(window, text, sizeof(text));
            if (owner == s->process && IsWindowVisible(window) && *s->title == text) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForMain(DWORD process) {
    const bool notice = IsVersionNoticeDue([] {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        return LocalDate{now.wYear, now.wMonth, now.wDay};
    }());
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 20000) {
        if (HWND main = TopLevel(process, kMainWindowTitle)) return main;
        if (notice) {
            if (HWND box = TopLevel(process, "Trimvex")) PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
    return nullptr;
}

// The descendant of `root` with control id `id` whose parent has one with
// `sibling` (so the page's own controls are found, not the main window's).
HWND FindControl(HWND root, int id, int sibling) {
    struct Search {
        int id, sibling;
        HWND found;
    } search{id, sibling, nullptr};
    EnumChildWindows(
        root,
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(window) == s->id && GetDlgItem(GetParent(window), s->sibling)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// A cell of a list view of another process, read into memory borrowed there.
class RemoteList {
public:
    RemoteList(HWND list, DWORD process)
        : list_(list), process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ |
                                                PROCESS_VM_WRITE, FALSE, process)) {
        if (process_)
            memory_ = VirtualAllocEx(process_.Get(), nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteList() {
        if (memory_) VirtualFreeEx(process_.Get(), memory_, 0, MEM_RELEASE);
    }
    bool Ok() const { return memory_ != nullptr; }
    std::string Text(int row, int column) const {
        auto* remote = static_cast<char*>(memory_);
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = remote + sizeof(LVITEMA);
        item.cchTextMax = kSize - static_cast<int>(sizeof(LVITEMA));
        if (!WriteProcessMemory(process_.Get(), remote, &item, sizeof(item), nullptr)) return "?";
        SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
        std::vector<char> text(static_cast<size_t>(item.cchTextMax) + 1, '\0');
        ReadProcessMemory(process_.Get(), item.pszText, text.data(), static_cast<SIZE_T>(item.cchTextMax), nullptr);
        return text.data();
    }

    POINT Position(int row) const {
        POINT point{-1, -1};
        SendMessageA(list_, LVM_GETITEMPOSITION, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory_));
        ReadProcessMemory(process_.Get(), memory_, &point, sizeof(point), nullptr);
        return point;
    }

private:
    static constexpr int kSize = 4096;
    HWND list_;
    ScopedHandle process_;
    void* memory_ = nullptr;
};

TEST(ProgramSystemInfo, ShowsThisMachinesFactsAndHardware) {
    Started program = Start(testing::ProgramDirectory() + "..\\Trimvex.exe");
    ASSERT_TRUE(program.process);
    HWND main = WaitForMain(program.id);
    ASSERT_NE(main, nullptr);

    HWND computer = FindControl(main, 1047, 1068);
    ASSERT_NE(computer, nullptr);
    HWND page = GetParent(computer);
    EXPECT_TRUE(IsWindowVisible(page));
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    ASSERT_TRUE(GetComputerNameA(name, &size));
    EXPECT_EQ(WindowText(computer), std::string(name) + "  [正常模式登录]");
    char user[257] = {};
    size = sizeof(user);
    ASSERT_TRUE(GetUserNameA(user, &size));
    EXPECT_EQ(WindowText(GetDlgItem(page, 1048)), std::string(user) + "   [Admin 管理权限]");
    OSVERSIONINFOEXA v{};
    v.dwOSVersionInfoSize = sizeof(v);
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&v)));
    if (v.dwMajorVersion == 6 && v.dwMinorVersion == 1 && v.wProductType == 1) {
        EXPECT_EQ(WindowText(GetDlgItem(page, 1049)),
                  "Windows 7 [Build " + std::to_string(v.dwBuildNumber) + "]");
    }
    EXPECT_EQ(WindowText(GetDlgItem(page, 1050)), "Service Pack " + std::to_string(v.wServicePackMajor));
    EXPECT_NE(WindowText(GetDlgItem(page, 1051)).find(" 小时 "), std::string::npos);

    HWND list = GetDlgItem(page, 1068);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 6);
    RemoteList rows(list, program.id);
    ASSERT_TRUE(rows.Ok());
    EXPECT_EQ(rows.Text(0, 0), "CPU");
    EXPECT_EQ(rows.Text(5, 0), "光驱");
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof(memory);
    ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
    EXPECT_EQ(rows.Text(1, 1), "物理 " + std::to_string((memory.ullTotalPhys >> 20) + 1) + " MB ");
    const std::string cpu = rows.Text(0, 1);
    ASSERT_GT(cpu.size(), 4u);
    EXPECT_EQ(cpu.substr(cpu.size() - 4), " MHz") << cpu;
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
    for (int row = 1; row < 6; ++row)
        EXPECT_EQ(rows.Position(row).y - rows.Position(row - 1).y, 50) << row;

    // What the user sees at start, taken from the screen.
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    const std::string shot = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\program-system-info.png";
    EXPECT_TRUE(testing::SaveWindowPng(main, shot)) << shot;

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(1012, BN_CLICKED), 0);
    EXPECT_EQ(WaitForSingleObject(program.process.Get(), 10000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace tv
