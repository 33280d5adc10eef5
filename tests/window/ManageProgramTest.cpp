// The real Trimvex.exe, worked from outside: its services and processes tabs
// list what an independent reading of the same system finds, a process
// ticked in its list is ended, and a service's start type is switched
// through the page's buttons.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "manage/ServiceScan.h"
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

using ScopedSc = ServiceHandle;

// A demand-start service made for the test; deleted at the end.
class TestService {
public:
    explicit TestService(const std::string& name) : name_(name) {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ScopedSc service(CreateServiceA(manager.Get(), name.c_str(), (name + " display").c_str(),
                                        SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                        SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                        "\"C:\\tv test\\none.exe\"", nullptr, nullptr, nullptr,
                                        nullptr, nullptr));
        created_ = static_cast<bool>(service);
    }
    ~TestService() {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ScopedSc service(OpenServiceA(manager.Get(), name_.c_str(), SERVICE_ALL_ACCESS));
        if (service) DeleteService(service.Get());
    }
    TestService(const TestService&) = delete;
    TestService& operator=(const TestService&) = delete;
    bool Created() const { return created_; }

    // The start type as the service manager has it, or ~0.
    DWORD StartType() const {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
        ScopedSc service(OpenServiceA(manager.Get(), name_.c_str(), SERVICE_QUERY_CONFIG));
        if (!service) return ~0u;
        DWORD needed = 0;
        QueryServiceConfigA(service.Get(), nullptr, 0, &needed);
        std::vector<BYTE> block(needed ? needed : 1);
        auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(block.data());
        if (!QueryServiceConfigA(service.Get(), config, needed, &needed)) return ~0u;
        return config->dwStartType;
    }

private:
    std::string name_;
    bool created_ = false;
};

// The system configuration tool's record of a disabled service's old start
// type, read from the 64-bit view of HKLM: its data, or -1 when there is no
// REG_DWORD of that name.
long long MsconfigServiceRecord(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\services", 0,
                      KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return -1;
    DWORD type = 0, data = 0, size = sizeof(data);
    const LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(data)
               ? static_cast<long long>(data)
               : -1;
}

// Presses a button of a page of the program and waits for the lists it
// refreshes. A message box would hold the press: it is read, answered and
// reported as a failure.
::testing::AssertionResult Press(const testing::TrimvexProcess& program, HWND page, int id) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(page, id)), SMTO_NORMAL, 10000,
                             &result)) {
        std::string text;
        program.NextMessageBox("Trimvex", &text, 2000);
        return ::testing::AssertionFailure() << "button " << id << " did not return: " << text;
    }
    if (!program.WaitForLists()) return ::testing::AssertionFailure() << "the lists never refilled";
    return ::testing::AssertionSuccess();
}

// Selects a row the way the page reads it: selected, focused, at the mark.
void SelectRow(const testing::RemoteListView& list, HWND listWindow, int row) {
    list.Select(row);
    SendMessageA(listWindow, LVM_SETSELECTIONMARK, 0, row);
    SendMessageA(listWindow, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

TEST(ManageProgram, ServiceIsDisabledAndSetBackToManualThroughTheButtons) {
    const std::string name = "tvbtn" + std::to_string(GetCurrentProcessId());
    TestService service(name);
    ASSERT_TRUE(service.Created());
    ASSERT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_DEMAND_START));
    ASSERT_EQ(MsconfigServiceRecord(name), -1);
    testing::TrimvexProcess program;
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND page = program.OpenTab(IDC_TAB_SERVICES, {IDC_SERVICE_LIST, IDC_SERVICE_REFRESH});
    ASSERT_NE(page, nullptr);
    HWND listWindow = GetDlgItem(page, IDC_SERVICE_LIST);
    testing::RemoteListView list(listWindow);
    ASSERT_TRUE(list);
    int row = FindRow(list, kServiceName, name);
    ASSERT_GE(row, 0) << "the test service is not listed";
    EXPECT_EQ(list.ItemText(row, kServiceStartType), "手动");

    SelectRow(list, listWindow, row);
    ASSERT_TRUE(Press(program, page, IDC_SERVICE_DISABLE));
    EXPECT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_DISABLED));
    EXPECT_EQ(MsconfigServiceRecord(name), SERVICE_DEMAND_START);
    row = FindRow(list, kServiceName, name);
    ASSERT_GE(row, 0);
    EXPECT_EQ(list.ItemText(row, kServiceStartType), "禁止");

    // The button row under the list, with the disabled service selected.
    SelectRow(list, listWindow, row);
    SetWindowPos(program.Main(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    RedrawWindow(program.Main(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    const std::string shot = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\services-buttons.png";
    EXPECT_TRUE(testing::SaveWindowPng(program.Main(), shot)) << shot;

    SelectRow(list, listWindow, row);
    ASSERT_TRUE(Press(program, page, IDC_SERVICE_MANUAL));
    EXPECT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_EQ(MsconfigServiceRecord(name), -1);
    row = FindRow(list, kServiceName, name);
    ASSERT_GE(row, 0);
    EXPECT_EQ(list.ItemText(row, kServiceStartType), "手动");
}

}  // namespace
}  // namespace tv
