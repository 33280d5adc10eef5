// The real Trimvex.exe, worked from outside: its services and processes tabs
// list what an independent reading of the same system finds, and a process
// ticked in its list is ended.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/win32/ScopedHandle.h"
#include "res/resource.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {


// A process started for the test; ended if the test did not end it.
class Sleeper {
public:
    Sleeper() {
        std::string path = testing::ProgramDirectory() + "tv_sleeper.exe";
        std::string command = "\"" + path + "\" 60000";
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
    ~Sleeper() {
        if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.Get(), 0);
            WaitForSingleObject(process_.Get(), 5000);
        }
    }
    Sleeper(const Sleeper&) = delete;
    Sleeper& operator=(const Sleeper&) = delete;
    DWORD Id() const { return id_; }
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

int FindRow(const testing::RemoteListView& list, int column, const std::string& text) {
    for (int i = 0; i < list.ItemCount(); ++i)
        if (list.ItemText(i, column) == text) return i;
    return -1;
}

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
    Sleeper sleeper;
    ASSERT_NE(sleeper.Id(), 0u);
    testing::TrimvexProcess program;
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForMain(), nullptr);

    HWND services = program.OpenTab(IDC_TAB_SERVICES, {IDC_SERVICE_LIST, IDC_SERVICE_REFRESH});
    ASSERT_NE(services, nullptr);
    {
        testing::RemoteListView list(GetDlgItem(services, IDC_SERVICE_LIST));
        ASSERT_TRUE(list);
        std::set<std::string> shown;
        for (int i = 0; i < list.ItemCount(); ++i) shown.insert(list.ItemText(i, 1));
        EXPECT_EQ(shown, ServiceNamesOfTheSystem());
        EXPECT_EQ(static_cast<size_t>(list.ItemCount()), shown.size());
    }

    HWND processes = program.OpenTab(IDC_TAB_PROCESSES, {IDC_PROCESS_LIST, IDC_MODULE_LIST});
    ASSERT_NE(processes, nullptr);
    {
        testing::RemoteListView list(GetDlgItem(processes, IDC_PROCESS_LIST));
        ASSERT_TRUE(list);
        int row = FindRow(list, 2, std::to_string(sleeper.Id()));
        ASSERT_GE(row, 0) << "the sleeper is not listed";
        EXPECT_EQ(list.ItemText(row, 0), "tv_sleeper.exe");
        EXPECT_EQ(list.ItemText(row, 3), std::to_string(GetCurrentProcessId()));
        EXPECT_GE(FindRow(list, 2, std::to_string(program.Id())), 0);
        list.SetTicked(row, true);
    }
    testing::Click(GetDlgItem(processes, IDC_PROCESS_END));
    EXPECT_EQ(sleeper.ExitCode(5000), 1);
    ASSERT_TRUE(program.WaitForLists());
    {
        testing::RemoteListView list(GetDlgItem(processes, IDC_PROCESS_LIST));
        EXPECT_EQ(FindRow(list, 2, std::to_string(sleeper.Id())), -1);
        EXPECT_GE(FindRow(list, 2, std::to_string(program.Id())), 0);
        for (int i = 0; i < list.ItemCount(); ++i) EXPECT_FALSE(list.IsTicked(i));
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
}

}  // namespace
}  // namespace tv
