// The real Trimvex.exe, worked from outside: its services and processes tabs
// list what an independent reading of the same system finds, and a process
// ticked in its list is ended.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/win32/MainWindow.h"
#include "platform/CodePageText.h"
#include "platform/win32/ScopedHandle.h"
#include "res/resource.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

using testing::PumpMessages;

// A program started for the test; ended if the test did not end it.
class Started {
public:
    explicit Started(const std::string& path, const std::string& arguments = "") {
        std::string command = "\"" + path + "\" " + arguments;
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info)) {
            ScopedHandle thread(info.hThread);
            process_.Reset(info.hProcess);
            id_ = info.dwProcessId;
        }
    }
    ~Started() {
        if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.Get(), 0);
            WaitForSingleObject(process_.Get(), 5000);
        }
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.Get(); }
    long ExitCode(DWORD wait) const {
        DWORD code = 0;
        if (WaitForSingleObject(process_.Get(), wait) != WAIT_OBJECT_0) return -1;
        GetExitCodeProcess(process_.Get(), &code);
        return static_cast<long>(code);
    }

private:
    ScopedHandle process_;
    DWORD id_ = 0;
};

HWND FindTopLevel(DWORD process, const char* title) {
    struct Search {
        DWORD process;
        const char* title;
        HWND found;
    } search{process, title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char text[256] = {};
            GetWindowTextA(window, text, sizeof(text));
            if (owner != s->process || !IsWindowVisible(window) || std::string(text) != s->title)
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The visible descendant of `root` with control id `id` and class `className`.
HWND FindVisibleChild(HWND root, int id, const char* className) {
    struct Search {
        int id;
        const char* className;
        HWND found;
    } search{id, className, nullptr};
    EnumChildWindows(
        root,
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char name[64] = {};
            GetClassNameA(window, name, sizeof(name));
            if (GetDlgCtrlID(window) != s->id || !IsWindowVisible(window) ||
                !text::EqualsNoCase(name, s->className))
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Reads and ticks rows of a list view in another process through memory
// allocated there.
class RemoteList {
public:
    RemoteList(HANDLE process, HWND list) : process_(process), list_(list) {
        memory_ = static_cast<char*>(
            VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteList() {
        if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    }
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    int Count() const { return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)); }
    std::string Text(int item, int column) const {
        LVITEMA cell{};
        cell.iSubItem = column;
        cell.pszText = memory_ + sizeof(LVITEMA);
        cell.cchTextMax = static_cast<int>(kSize - sizeof(LVITEMA));
        SIZE_T done = 0;
        WriteProcessMemory(process_, memory_, &cell, sizeof(cell), &done);
        auto length = static_cast<size_t>(SendMessageA(
            list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(memory_)));
        std::vector<char> text(length + 1);
        ReadProcessMemory(process_, memory_ + sizeof(LVITEMA), text.data(), length, &done);
        return std::string(text.data(), length);
    }
    void Tick(int item) const {
        LVITEMA state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(2);
        SIZE_T done = 0;
        WriteProcessMemory(process_, memory_, &state, sizeof(state), &done);
        SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(memory_));
    }
    int Find(int column, const std::string& text) const {
        for (int i = 0; i < Count(); ++i)
            if (Text(i, column) == text) return i;
        return -1;
    }

private:
    static constexpr size_t kSize = 8192;
    HANDLE process_;
    HWND list_;
    char* memory_ = nullptr;
};

std::set<std::string> ServiceNamesOfTheSystem() {
    std::set<std::string> names;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, GENERIC_READ | SC_MANAGER_ENUMERATE_SERVICE);
    ENUM_SERVICE_STATUSA probe{};
    DWORD needed = 0, count = 0, resume = 0;
    EnumServicesStatusA(manager, SERVICE_WIN32, SERVICE_STATE_ALL, &probe, 0, &needed, &count,
                        &resume);
    std::vector<BYTE> buffer(needed + 8192);
    auto* entries = reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data());
    resume = 0;
    if (EnumServicesStatusA(manager, SERVICE_WIN32, SERVICE_STATE_ALL, entries,
                            static_cast<DWORD>(buffer.size()), &needed, &count, &resume)) {
        for (DWORD i = 0; i < count; ++i) names.insert(entries[i].lpServiceName);
    }
    CloseServiceHandle(manager);
    return names;
}

TEST(ManageProgram, ServicesAndProcessesTabsOfTheRealProgram) {
    Started sleeper(testing::ProgramDirectory() + "tv_sleeper.exe", "60000");
    ASSERT_NE(sleeper.Id(), 0u);
    Started program(testing::ProgramDirectory() + "..\\Trimvex.exe");
    ASSERT_NE(program.Id(), 0u);
    HWND main = nullptr;
    for (int i = 0; i < 1000 && !main; ++i) {
        main = FindTopLevel(program.Id(), kMainWindowTitle);
        if (HWND notice = FindTopLevel(program.Id(), "Trimvex")) PostMessageA(notice, WM_COMMAND, IDOK, 0);
        if (!main) Sleep(20);
    }
    ASSERT_NE(main, nullptr);

    SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_SECTION_MANAGEMENT, BN_CLICKED), 0);
    // The management page: the one that holds the tabs' content frame.
    HWND frame = FindVisibleChild(main, IDC_TAB_CONTENT_FRAME, "Static");
    ASSERT_NE(frame, nullptr);
    HWND container = GetParent(frame);
    HWND servicesTab = GetDlgItem(container, IDC_TAB_SERVICES);
    ASSERT_NE(servicesTab, nullptr);
    testing::Click(servicesTab);
    HWND serviceList = FindVisibleChild(container, IDC_SERVICE_LIST, "SysListView32");
    ASSERT_NE(serviceList, nullptr);
    {
        RemoteList list(program.Handle(), serviceList);
        std::set<std::string> shown;
        for (int i = 0; i < list.Count(); ++i) shown.insert(list.Text(i, 1));
        EXPECT_EQ(shown, ServiceNamesOfTheSystem());
        EXPECT_EQ(static_cast<size_t>(list.Count()), shown.size());
    }

    HWND processesTab = GetDlgItem(container, IDC_TAB_PROCESSES);
    ASSERT_NE(processesTab, nullptr);
    testing::Click(processesTab);
    HWND processList = FindVisibleChild(container, IDC_PROCESS_LIST, "SysListView32");
    ASSERT_NE(processList, nullptr);
    {
        RemoteList list(program.Handle(), processList);
        int row = list.Find(2, std::to_string(sleeper.Id()));
        ASSERT_GE(row, 0) << "the sleeper is not listed";
        EXPECT_EQ(list.Text(row, 0), "tv_sleeper.exe");
        EXPECT_EQ(list.Text(row, 3), std::to_string(GetCurrentProcessId()));
        EXPECT_GE(list.Find(2, std::to_string(program.Id())), 0);
        list.Tick(row);
    }
    HWND endButton = GetDlgItem(GetParent(processList), IDC_PROCESS_END);
    ASSERT_NE(endButton, nullptr);
    testing::Click(endButton);
    EXPECT_EQ(sleeper.ExitCode(5000), 1);
    {
        RemoteList list(program.Handle(), processList);
        EXPECT_EQ(list.Find(2, std::to_string(sleeper.Id())), -1);
        EXPECT_GE(list.Find(2, std::to_string(program.Id())), 0);
    }

    // The program set the shell to restart itself.
    HKEY key = nullptr;
    DWORD value = 0, size = sizeof(value), type = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                            "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", 0,
                            KEY_READ, &key),
              ERROR_SUCCESS);
    LONG read = RegQueryValueExA(key, "AutoRestartShell", nullptr, &type,
                                 reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    ASSERT_EQ(read, ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 1u);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_CLOSE_BUTTON, BN_CLICKED), 0);
    EXPECT_EQ(program.ExitCode(10000), 0);
}

}  // namespace
}  // namespace tv
