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

#include "manage/ServiceRunState.h"
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

// The command line of the test's own service program running as `name`.
std::string ServiceHostCommand(const std::string& name) {
    return "\"" + testing::ProgramDirectory() + "tv_service.exe\" " + name;
}

// A demand-start service made for the test, by default with an image that
// is not there; stopped and deleted at the end.
class TestService {
public:
    explicit TestService(const std::string& name,
                         const std::string& image = "\"C:\\tv test\\none.exe\"",
                         const std::string& dependsOn = std::string())
        : name_(name) {
        // One name and the empty string that ends the list.
        std::string dependencies = dependsOn;
        if (!dependencies.empty()) dependencies.append(2, '\0');
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ScopedSc service(CreateServiceA(manager.Get(), name.c_str(), (name + " display").c_str(),
                                        SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                        SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, image.c_str(),
                                        nullptr, nullptr,
                                        dependencies.empty() ? nullptr : dependencies.c_str(),
                                        nullptr, nullptr));
        created_ = static_cast<bool>(service);
    }
    ~TestService() {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ScopedSc service(OpenServiceA(manager.Get(), name_.c_str(), SERVICE_ALL_ACCESS));
        if (!service) return;
        SERVICE_STATUS status{};
        if (ControlService(service.Get(), SERVICE_CONTROL_STOP, &status)) WaitFor(SERVICE_STOPPED);
        DeleteService(service.Get());
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

    // The state as the service manager has it, or 0.
    DWORD State() const {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
        ScopedSc service(OpenServiceA(manager.Get(), name_.c_str(), SERVICE_QUERY_STATUS));
        SERVICE_STATUS status{};
        if (!service || !QueryServiceStatus(service.Get(), &status)) return 0;
        return status.dwCurrentState;
    }

    // Started or stopped by the test itself, past the program; true once
    // the service manager reports the new state.
    bool Start() const {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
        ScopedSc service(OpenServiceA(manager.Get(), name_.c_str(), SERVICE_START));
        return service && StartServiceA(service.Get(), 0, nullptr) && WaitFor(SERVICE_RUNNING);
    }
    bool Stop() const {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
        ScopedSc service(OpenServiceA(manager.Get(), name_.c_str(), SERVICE_STOP));
        SERVICE_STATUS status{};
        return service && ControlService(service.Get(), SERVICE_CONTROL_STOP, &status) &&
               WaitFor(SERVICE_STOPPED);
    }
    bool WaitFor(DWORD state) const {
        const DWORD start = GetTickCount();
        while (State() != state) {
            if (GetTickCount() - start > 30000) return false;
            Sleep(50);
        }
        return true;
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
                             reinterpret_cast<LPARAM>(GetDlgItem(page, id)), SMTO_NORMAL, 30000,
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

HWND OpenServicesTab(testing::TrimvexProcess& program) {
    if (!program.Started() || !program.WaitForMain()) return nullptr;
    return program.OpenTab(IDC_TAB_SERVICES, {IDC_SERVICE_LIST, IDC_SERVICE_REFRESH});
}

// The real program with its services tab open and listed; a list that
// cannot be read when that could not be done.
struct ServicesTab {
    testing::TrimvexProcess program;
    HWND page = OpenServicesTab(program);
    HWND listWindow = GetDlgItem(page, IDC_SERVICE_LIST);
    testing::RemoteListView list{listWindow};
};

TEST(ManageProgram, ServiceIsDisabledAndSetBackToManualThroughTheButtons) {
    const std::string name = "tvbtn" + std::to_string(GetCurrentProcessId());
    TestService service(name);
    ASSERT_TRUE(service.Created());
    ASSERT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_DEMAND_START));
    ASSERT_EQ(MsconfigServiceRecord(name), -1);
    ServicesTab tab;
    ASSERT_TRUE(tab.list) << "the services tab did not open";
    auto& [program, page, listWindow, list] = tab;
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

// Presses the start or the stop button: the service manager is waited for
// off the program's window thread, and what went wrong ends in a message box,
// whose text is handed back (empty when none came) once the lists are there
// again.
::testing::AssertionResult PressAndRead(const testing::TrimvexProcess& program, HWND page, int id,
                                        std::string* told) {
    told->clear();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(page, id)), SMTO_NORMAL, 30000,
                             &result))
        return ::testing::AssertionFailure() << "button " << id << " did not return";
    const DWORD start = GetTickCount();
    while (!program.WaitForLists(50)) {
        std::string text;
        if (told->empty() && program.NextMessageBox("Trimvex", &text, 50)) *told = text;
        if (GetTickCount() - start > 60000)
            return ::testing::AssertionFailure() << "the lists never refilled";
    }
    return ::testing::AssertionSuccess();
}

std::string Cell(const testing::RemoteListView& list, const std::string& name, int column) {
    const int row = FindRow(list, kServiceName, name);
    return row < 0 ? "(not listed)" : list.ItemText(row, column);
}

// A service of its own process set to automatic, started and stopped
// through the page's buttons, its state read from the service manager on
// its own; a stop is refused, naming the service, while a running service
// depends on it.
TEST(ManageProgram, ServiceIsSetToAutomaticStartedAndStoppedThroughTheButtons) {
    const std::string pid = std::to_string(GetCurrentProcessId());
    const std::string base = "tvrun" + pid;
    const std::string user = "tvuse" + pid;
    TestService service(base, ServiceHostCommand(base));
    TestService dependent(user, ServiceHostCommand(user), base);
    ASSERT_TRUE(service.Created());
    ASSERT_TRUE(dependent.Created());
    ASSERT_EQ(service.State(), static_cast<DWORD>(SERVICE_STOPPED));
    ServicesTab tab;
    ASSERT_TRUE(tab.list) << "the services tab did not open";
    auto& [program, page, listWindow, list] = tab;
    ASSERT_GE(FindRow(list, kServiceName, base), 0) << "the test service is not listed";
    EXPECT_EQ(Cell(list, base, kServiceStartType), "手动");
    EXPECT_EQ(Cell(list, base, kServiceState), "已停止");

    SelectRow(list, listWindow, FindRow(list, kServiceName, base));
    ASSERT_TRUE(Press(program, page, IDC_SERVICE_AUTO));
    EXPECT_EQ(service.StartType(), static_cast<DWORD>(SERVICE_AUTO_START));
    EXPECT_EQ(MsconfigServiceRecord(base), -1);
    EXPECT_EQ(Cell(list, base, kServiceStartType), "自动");

    std::string told;
    SelectRow(list, listWindow, FindRow(list, kServiceName, base));
    ASSERT_TRUE(PressAndRead(program, page, IDC_SERVICE_START, &told));
    EXPECT_EQ(told, "");
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(Cell(list, base, kServiceState), "已启动");

    // Another running service needs it: the stop is refused and names it.
    ASSERT_TRUE(dependent.Start());
    SelectRow(list, listWindow, FindRow(list, kServiceName, base));
    ASSERT_TRUE(PressAndRead(program, page, IDC_SERVICE_STOP, &told));
    EXPECT_EQ(told, std::string(kServiceDependentsRunning) + "\n" + user + " (" + user + " display)");
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(dependent.State(), static_cast<DWORD>(SERVICE_RUNNING));

    ASSERT_TRUE(dependent.Stop());
    SelectRow(list, listWindow, FindRow(list, kServiceName, base));
    ASSERT_TRUE(PressAndRead(program, page, IDC_SERVICE_STOP, &told));
    EXPECT_EQ(told, "");
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(Cell(list, base, kServiceState), "已停止");
    EXPECT_EQ(Cell(list, base, kServiceStartType), "自动");
}

}  // namespace
}  // namespace tv
