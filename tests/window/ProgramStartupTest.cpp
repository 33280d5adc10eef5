// The real Trimvex.exe over the startup fixture, worked from outside as
// another program would: its startup list is read through the list view's
// own messages (with the texts in the program's memory), compared with the
// rows the fixture must give, and a Run entry is removed through the tab's
// button.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/VersionNotice.h"
#include "app/win32/MainWindow.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Registry.h"
#include "res/resource.h"
#include "tests/support/WindowTestSupport.h"
#include "tests/window/StartupFixture.h"

namespace tv {
namespace {

// Memory in another process, released on every path.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size)
        : process_(process),
          base_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    char* At(size_t offset) const { return static_cast<char*>(base_) + offset; }
    explicit operator bool() const { return base_ != nullptr; }

private:
    HANDLE process_;
    void* base_;
};

// A list view of another process, read and selected through its messages.
class RemoteList {
public:
    static constexpr size_t kTextSize = 16384;
    explicit RemoteList(HWND list) : list_(list) {
        DWORD id = 0;
        GetWindowThreadProcessId(list, &id);
        process_.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                   FALSE, id));
        if (process_) memory_ = std::make_unique<RemoteMemory>(process_.Get(), 4096 + kTextSize);
    }
    bool Ok() const { return memory_ && *memory_; }
    int Count() const { return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)); }
    std::string Text(int item, int column) const {
        LVITEMA cell{};
        cell.iSubItem = column;
        cell.pszText = memory_->At(4096);
        cell.cchTextMax = static_cast<int>(kTextSize);
        WriteProcessMemory(process_.Get(), memory_->At(0), &cell, sizeof(cell), nullptr);
        SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(memory_->At(0)));
        std::vector<char> text(kTextSize, '\0');
        ReadProcessMemory(process_.Get(), memory_->At(4096), text.data(), text.size() - 1, nullptr);
        return text.data();
    }
    // Every row as "column 0 | ... | column 4", sorted.
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int r = 0; r < Count(); ++r) {
            std::string row = Text(r, 0);
            for (int c = 1; c < 5; ++c) row += " | " + Text(r, c);
            rows.push_back(row);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    int Find(const std::string& name) const {
        for (int r = 0; r < Count(); ++r)
            if (Text(r, 0) == name) return r;
        return -1;
    }
    void Select(int item) const {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        WriteProcessMemory(process_.Get(), memory_->At(0), &state, sizeof(state), nullptr);
        SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(memory_->At(0)));
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        WriteProcessMemory(process_.Get(), memory_->At(0), &state, sizeof(state), nullptr);
        SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(memory_->At(0)));
    }

private:
    HWND list_;
    ScopedHandle process_;
    std::unique_ptr<RemoteMemory> memory_;
};

// Trimvex.exe, started for the test and closed (or ended) when it is done.
class Program {
public:
    Program() {
        std::string path = testing::ProgramDirectory() + "..\\Trimvex.exe";
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        std::string command = "\"" + path + "\"";
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        PROCESS_INFORMATION info{};
        if (CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info)) {
            ScopedHandle thread(info.hThread);
            process_.Reset(info.hProcess);
            id_ = info.dwProcessId;
        }
        main_ = WaitForMain(30000);
    }
    ~Program() {
        if (main_) PostMessageA(main_, WM_COMMAND, MAKEWPARAM(IDC_CLOSE_BUTTON, BN_CLICKED), 0);
        if (process_ && WaitForSingleObject(process_.Get(), 10000) != WAIT_OBJECT_0) {
            TerminateProcess(process_.Get(), 1);
            WaitForSingleObject(process_.Get(), 5000);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND Main() const { return main_; }
    // The startup tab's list: control 1059 on the page that also has the
    // refresh button.
    HWND StartupList() const {
        struct Search {
            HWND found;
        } search{nullptr};
        EnumChildWindows(
            main_,
            [](HWND child, LPARAM data) CALLBACK -> BOOL {
                char name[32] = {};
                GetClassNameA(child, name, sizeof(name));
                if (GetDlgCtrlID(child) == IDC_STARTUP_LIST && std::string(name) == "SysListView32" &&
                    GetDlgItem(GetParent(child), IDC_STARTUP_REFRESH)) {
                    reinterpret_cast<Search*>(data)->found = child;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    // Waits for the main window, closing the outdated-version notice on the way.
    HWND WaitForMain(DWORD milliseconds) const {
        DWORD start = GetTickCount();
        do {
            HWND main = Find(kMainWindowTitle);
            if (main) return main;
            if (HWND notice = Find("Trimvex")) PostMessageA(notice, WM_COMMAND, IDOK, 0);
            Sleep(20);
        } while (GetTickCount() - start < milliseconds);
        return nullptr;
    }
    HWND Find(const char* title) const {
        struct Search {
            DWORD process;
            const char* title;
            HWND found;
        } search{id_, title, nullptr};
        EnumWindows(
            [](HWND window, LPARAM data) CALLBACK -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                char text[256] = {};
                GetWindowTextA(window, text, sizeof(text));
                if (owner == s->process && IsWindowVisible(window) && std::string(text) == s->title) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    ScopedHandle process_;
    DWORD id_ = 0;
    HWND main_ = nullptr;
};

TEST(ProgramStartup, ListsTheFixtureRowsAndRemovesARunValue) {
    std::vector<std::string> baseline;
    {
        Program program;
        ASSERT_NE(program.Main(), nullptr);
        RemoteList list(program.StartupList());
        ASSERT_TRUE(list.Ok());
        baseline = list.Rows();
    }
    Win32Registry registry;
    StartupFixture fixture(registry);
    ASSERT_TRUE(fixture.loaded);
    Program program;
    ASSERT_NE(program.Main(), nullptr);
    HWND listWindow = program.StartupList();
    RemoteList list(listWindow);
    ASSERT_TRUE(list.Ok());
    const std::vector<std::string> expected = ExpectedRows(fixture, baseline);
    std::vector<std::string> rows = list.Rows();
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

    // Removing the row of one Run value deletes that value and nothing else.
    int row = list.Find("TvFixtureTool");
    ASSERT_GE(row, 0);
    list.Select(row);
    std::vector<std::string> before = fixture.Contents();
    HWND page = GetParent(listWindow);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_STARTUP_REMOVE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_STARTUP_REMOVE)));
    std::vector<std::string> after = fixture.Contents();
    before.erase(std::remove_if(before.begin(), before.end(),
                                [](const std::string& line) {
                                    return line.find("\\TvFixtureTool=") != std::string::npos;
                                }),
                 before.end());
    EXPECT_EQ(after, before);
    EXPECT_EQ(list.Find("TvFixtureTool"), -1);
    EXPECT_EQ(list.Count(), static_cast<int>(expected.size()) - 1);
}

}  // namespace
}  // namespace tv
