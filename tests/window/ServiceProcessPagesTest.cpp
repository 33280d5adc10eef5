// The services and processes tabs over the real service manager and real
// processes under Wine; message boxes are answered through the fake
// prompter.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "manage/ModuleList.h"
#include "manage/ProcessList.h"
#include "manage/ServiceDeletion.h"
#include "manage/ServiceScan.h"
#include "app/win32/MainWindow.h"
#include "app/win32/ManagementContainer.h"
#include "manage/win32/ProcessPage.h"
#include "manage/win32/ServicePage.h"
#include "manage/ServiceRunState.h"
#include "manage/ServiceStartType.h"
#include "platform/CodePageText.h"
#include "platform/win32/ScopedHandle.h"
#include "restore/RestoreFiles.h"
#include "platform/win32/Win32ProcessTable.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ServiceDatabase.h"
#include "platform/win32/Win32SystemFiles.h"
#include "platform/win32/Win32Tokens.h"
#include "platform/win32/Win32VersionResources.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/PageRefresh.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

using testing::PumpMessages;
using testing::PumpMessagesUntil;

using ScopedSc = ServiceHandle;

// A service made for the test; deleted at the end if the test did not.
class TestService {
public:
    TestService(const std::string& name, const std::string& binaryPath,
                const std::string& description)
        : name_(name) {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ScopedSc service(CreateServiceA(manager.Get(), name.c_str(), (name + " display").c_str(),
                                        SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                        SERVICE_DEMAND_START, SERVICE_ERROR_SEVERE,
                                        binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr,
                                        nullptr));
        created_ = static_cast<bool>(service);
        SERVICE_DESCRIPTIONA text{const_cast<char*>(description.c_str())};
        if (service) ChangeServiceConfig2A(service.Get(), SERVICE_CONFIG_DESCRIPTION, &text);
    }
    ~TestService() {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ScopedSc service(OpenServiceA(manager.Get(), name_.c_str(), SERVICE_ALL_ACCESS));
        if (service) DeleteService(service.Get());
    }
    TestService(const TestService&) = delete;
    TestService& operator=(const TestService&) = delete;
    bool Created() const { return created_; }
    bool Exists() const {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ScopedSc service(OpenServiceA(manager.Get(), name_.c_str(), SERVICE_QUERY_STATUS));
        return static_cast<bool>(service);
    }

private:
    std::string name_;
    bool created_ = false;
};

// A process started for the test; ended at the end if the test did not.
class Sleeper {
public:
    // `path`: a copy of the sleeper under another name.
    explicit Sleeper(const std::string& path = "") {
        path_ = path.empty() ? testing::ProgramDirectory() + "tv_sleeper.exe" : path;
        std::string command = "\"" + path_ + "\" 60000";
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (CreateProcessA(path_.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info)) {
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
    const std::string& Path() const { return path_; }
    bool Running() const { return WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }
    bool Ended(DWORD* code) const {
        return WaitForSingleObject(process_.Get(), 5000) == WAIT_OBJECT_0 &&
               GetExitCodeProcess(process_.Get(), code);
    }

private:
    std::string path_;
    ScopedHandle process_;
    DWORD id_ = 0;
};

// A hidden pop-up that hosts one sub-page.
class PageHost {
public:
    PageHost() {
        host_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 1010, 500, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    }
    ~PageHost() { DestroyWindow(host_); }
    PageHost(const PageHost&) = delete;
    PageHost& operator=(const PageHost&) = delete;
    HWND Get() const { return host_; }

private:
    HWND host_;
};

int FindRow(const ui::ListView& list, int column, const std::string& text) {
    for (int i = 0; i < list.ItemCount(); ++i)
        if (list.ItemText(i, column) == text) return i;
    return -1;
}

void Select(const ui::ListView& list, int row) {
    ListView_SetItemState(list.Handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list.Handle(), row, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(list.Handle(), row);
}

// Clicks the middle of a row's label as the mouse does.
void ClickRow(const ui::ListView& list, int row) {
    ListView_EnsureVisible(list.Handle(), row, FALSE);
    RECT rect{};
    rect.left = LVIR_LABEL;
    SendMessageA(list.Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&rect));
    LPARAM point = MAKELPARAM(rect.left + 20, (rect.top + rect.bottom) / 2);
    SendMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(list.Handle(), WM_LBUTTONUP, 0, point);
    PumpMessages(20);
}

class RealPlatformTest : public ::testing::Test {
protected:
    RealPlatformTest() {
        platform_ = fakes_.Get();
        platform_.serviceDatabase = services_;
        platform_.processes = processes_;
        platform_.systemFiles = systemFiles_;
        platform_.versions = versions_;
        platform_.tokens = tokens_;
    }
    testing::FakePlatform fakes_;
    Win32ServiceDatabase services_;
    Win32ProcessTable processes_;
    Win32SystemFiles systemFiles_;
    Win32VersionResources versions_;
    Win32Tokens tokens_;
    Platform platform_ = fakes_.Get();
};

TEST_F(RealPlatformTest, ServiceCreatedForTheTestIsListedAndDeletedAfterConfirmation) {
    std::string name = "tvsvc" + std::to_string(GetCurrentProcessId());
    TestService service(name, "\"C:\\tv test\\svc.bin\" -k run", "Made by the test");
    ASSERT_TRUE(service.Created());

    // The service's key is read for its restore file: the real registry.
    Win32Registry registry;
    platform_.registry = registry;
    PageHost host;
    ServicePage page(platform_);
    ASSERT_TRUE(page.CreatePage(host.Get()));
    ASSERT_TRUE(testing::RefreshAndWait(page));
    const ui::ListView& list = page.List();
    int row = FindRow(list, kServiceName, name);
    ASSERT_GE(row, 0) << "the test service is not listed";
    ListRow cells = ReadRow(list, row, kServiceColumnCount);
    EXPECT_EQ(cells[kServiceDisplayName], name + " display");
    EXPECT_EQ(cells[kServiceState], "已停止");
    EXPECT_EQ(cells[kServiceStartType], "手动");
    EXPECT_EQ(cells[kServiceSafe], "[UN]");
    EXPECT_EQ(cells[kServiceCommandLine], "\"C:\\tv test\\svc.bin\" -k run");
    EXPECT_EQ(cells[kServiceDescription], "Made by the test");
    EXPECT_EQ(cells[kServiceErrorControl], "{错误服务}");
    EXPECT_EQ(cells[kServiceFilePath], "C:\\tv test\\svc.exe");
    EXPECT_EQ(cells[kServiceSafeFlag], "0");
    EXPECT_EQ(ItemData(list, row), 0);
    // Every number of the enumeration is there once.
    std::vector<bool> seen(static_cast<size_t>(list.ItemCount()) + 1);
    for (int i = 0; i < list.ItemCount(); ++i) {
        int number = std::atoi(list.ItemText(i, kServiceNumber).c_str());
        ASSERT_GE(number, 1);
        ASSERT_LE(number, list.ItemCount());
        EXPECT_FALSE(seen[static_cast<size_t>(number)]);
        seen[static_cast<size_t>(number)] = true;
    }

    // A row the user deselected (a ctrl-click) keeps the selection mark but
    // is no longer picked: it is not deleted.
    Select(list, row);
    ListView_SetItemState(list.Handle(), row, 0, LVIS_SELECTED);
    fakes_.prompter.QueueAnswer(kIdYes);
    testing::Click(page.Item(IDC_SERVICE_DELETE));
    ASSERT_TRUE(testing::WaitForRefresh(page));
    PumpMessages(20);
    EXPECT_TRUE(service.Exists());
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 2u);
    EXPECT_EQ(fakes_.prompter.Prompts()[1].text, kOpenServiceError);

    Select(list, row);
    fakes_.prompter.QueueAnswer(kIdYes);
    testing::Click(page.Item(IDC_SERVICE_DELETE));
    ASSERT_TRUE(testing::WaitForRefresh(page));
    PumpMessages(20);
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 3u);
    EXPECT_EQ(fakes_.prompter.Prompts()[2].text, kDeleteServiceQuestion);
    EXPECT_FALSE(service.Exists());
    EXPECT_EQ(FindRow(list, kServiceName, name), -1);
    EXPECT_GT(list.ItemCount(), 0);
    std::vector<FolderEntry> kept;
    fakes_.files.ListFolder(RestoreFolderPath(platform_), &kept);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_NE(kept[0].name.Shown().find("删除服务 " + name + ".reg"), std::string::npos) << kept[0].name.Shown();
}

// The start type as the service manager has it, read apart from the page.
DWORD StartTypeOf(const std::string& name) {
    ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    ScopedSc service(OpenServiceA(manager.Get(), name.c_str(), SERVICE_QUERY_CONFIG));
    if (!service) return 0xFFFFFFFFu;
    DWORD needed = 0;
    QueryServiceConfigA(service.Get(), nullptr, 0, &needed);
    std::vector<BYTE> block(needed ? needed : 1);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(block.data());
    if (!QueryServiceConfigA(service.Get(), config, needed, &needed)) return 0xFFFFFFFFu;
    return config->dwStartType;
}

// The system configuration tool's record of the service: its data, or -1.
long long MsconfigRecord(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMsconfigServicesKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    DWORD type = 0, data = 0, size = sizeof(data);
    const LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD ? static_cast<long long>(data) : -1;
}

TEST_F(RealPlatformTest, ATestServiceIsDisabledAndSetBackToManual) {
    std::string name = "tvtype" + std::to_string(GetCurrentProcessId());
    TestService service(name, "\"C:\\tv test\\none.exe\"", "Made by the test");
    ASSERT_TRUE(service.Created());
    ASSERT_EQ(StartTypeOf(name), static_cast<DWORD>(SERVICE_DEMAND_START));
    Win32Registry registry;
    platform_.registry = registry;
    PageHost host;
    ServicePage page(platform_);
    ASSERT_TRUE(page.CreatePage(host.Get()));
    ASSERT_TRUE(testing::RefreshAndWait(page));
    const ui::ListView& list = page.List();
    int row = FindRow(list, kServiceName, name);
    ASSERT_GE(row, 0);

    Select(list, row);
    testing::Click(page.Item(IDC_SERVICE_DISABLE));
    ASSERT_TRUE(testing::WaitForRefresh(page));
    EXPECT_TRUE(fakes_.prompter.Prompts().empty());
    EXPECT_EQ(StartTypeOf(name), static_cast<DWORD>(SERVICE_DISABLED));
    EXPECT_EQ(MsconfigRecord(name), SERVICE_DEMAND_START);
    row = FindRow(list, kServiceName, name);
    ASSERT_GE(row, 0);
    EXPECT_EQ(list.ItemText(row, kServiceStartType), "禁止");

    // A disabled service does not start: the manager's answer is said.
    Select(list, row);
    testing::Click(page.Item(IDC_SERVICE_START));
    ASSERT_TRUE(PumpMessagesUntil([&] {
        page.TakeGathered();
        return page.Filled();
    }, 10000));
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
    EXPECT_EQ(fakes_.prompter.Prompts()[0].text, kServiceIsDisabledMessage);

    row = FindRow(list, kServiceName, name);
    ASSERT_GE(row, 0);
    Select(list, row);
    testing::Click(page.Item(IDC_SERVICE_MANUAL));
    ASSERT_TRUE(testing::WaitForRefresh(page));
    EXPECT_EQ(fakes_.prompter.Prompts().size(), 1u);
    EXPECT_EQ(StartTypeOf(name), static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_EQ(MsconfigRecord(name), -1);
    row = FindRow(list, kServiceName, name);
    ASSERT_GE(row, 0);
    EXPECT_EQ(list.ItemText(row, kServiceStartType), "手动");
    std::vector<FolderEntry> kept;
    fakes_.files.ListFolder(RestoreFolderPath(platform_), &kept);
    EXPECT_EQ(kept.size(), 2u);
}

TEST_F(RealPlatformTest, ProtectedLookingServiceIsRefused) {
    std::string name = "tvsfc" + std::to_string(GetCurrentProcessId());
    TestService service(name, "C:\\windows\\system32\\tvsfc.exe", "Looks protected");
    ASSERT_TRUE(service.Created());
    // The system's check says no for every file here; this one says yes.
    FakeSystemFiles protection;
    protection.Protect("C:\\windows\\system32\\tvsfc.exe");
    platform_.systemFiles = protection;

    PageHost host;
    ServicePage page(platform_);
    ASSERT_TRUE(page.CreatePage(host.Get()));
    ASSERT_TRUE(testing::RefreshAndWait(page));
    int row = FindRow(page.List(), kServiceName, name);
    ASSERT_GE(row, 0);
    EXPECT_EQ(page.List().ItemText(row, kServiceSafe), "是");
    // Protected rows stand last.
    EXPECT_EQ(row, page.List().ItemCount() - 1);
    Select(page.List(), row);
    fakes_.prompter.QueueAnswer(kIdYes);
    testing::Click(page.Item(IDC_SERVICE_DELETE));
    ASSERT_TRUE(testing::WaitForRefresh(page));
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 2u);
    EXPECT_EQ(fakes_.prompter.Prompts()[1].caption, "警告");
    EXPECT_EQ(fakes_.prompter.Prompts()[1].text, kProtectedServiceWarning);
    EXPECT_TRUE(service.Exists());
}

TEST_F(RealPlatformTest, ChildProcessIsListedShowsItsModulesAndEndsWhenTicked) {
    Sleeper child;
    ASSERT_NE(child.Id(), 0u);
    Sleep(200);  // let it load its modules

    PageHost host;
    ProcessPage page(platform_);
    ASSERT_TRUE(page.CreatePage(host.Get()));
    ShowWindow(host.Get(), SW_SHOWNOACTIVATE);
    page.Show(SW_SHOW);
    ASSERT_TRUE(testing::RefreshAndWait(page));
    const ui::ListView& list = page.ProcessList();
    int row = FindRow(list, kProcessId, std::to_string(child.Id()));
    ASSERT_GE(row, 0) << "the child is not listed";
    ListRow cells = ReadRow(list, row, kProcessColumnCount);
    EXPECT_EQ(cells[kProcessImageName], "tv_sleeper.exe");
    EXPECT_EQ(cells[kProcessParentId], std::to_string(GetCurrentProcessId()));
    EXPECT_TRUE(text::EqualsNoCase(cells[kProcessPath], child.Path())) << cells[kProcessPath];
    EXPECT_EQ(cells[kProcessSafe], "[UN]");
    EXPECT_EQ(cells[kProcessWindow], "");
    // Wine gives every process base priority 2.
    EXPECT_TRUE(cells[kProcessPriority] == "标 准" || cells[kProcessPriority] == "   低");
    EXPECT_NE(cells[kProcessWorkingSet].find(" KB"), std::string::npos);
    EXPECT_FALSE(cells[kProcessAccount].empty());
    EXPECT_NE(cells[kProcessAccount].find('-'), std::string::npos);
    EXPECT_FALSE(cells[kProcessStartTime].empty());
    // One icon per image file listed.
    std::set<std::string> files;
    for (int i = 0; i < list.ItemCount(); ++i) files.insert(list.ItemText(i, kProcessPath));
    EXPECT_EQ(page.RowIconCount(), static_cast<int>(files.size()));

    // The thread count as a snapshot of our own tells it.
    std::vector<ProcessEntry> entries;
    ASSERT_TRUE(processes_.ListProcesses(&entries));
    for (const auto& e : entries) {
        if (e.id == child.Id()) {
            EXPECT_EQ(cells[kProcessThreads], std::to_string(e.threads));
        }
    }

    // This test's own process owns the host window.
    int self = FindRow(list, kProcessId, std::to_string(GetCurrentProcessId()));
    ASSERT_GE(self, 0);
    EXPECT_EQ(list.ItemText(self, kProcessWindow), "有");

    ClickRow(list, row);
    EXPECT_EQ(SelectionMark(list), row);
    char hint[256] = {};
    GetDlgItemTextA(page.Handle(), IDC_PROCESS_HINT, hint, sizeof(hint));
    EXPECT_STREQ(hint, kUnknownProcessHint);
    const ui::ListView& modules = page.ModuleList();
    ASSERT_GT(modules.ItemCount(), 1);
    bool exe = false, kernel = false;
    for (int i = 0; i < modules.ItemCount(); ++i) {
        std::string name = modules.ItemText(i, kModuleName);
        if (text::EqualsNoCase(name, "tv_sleeper.exe")) {
            exe = true;
            EXPECT_TRUE(text::EqualsNoCase(modules.ItemText(i, kModulePath), child.Path()));
            EXPECT_FALSE(modules.ItemText(i, kModuleSize).empty());
            EXPECT_EQ(modules.ItemText(i, kModuleCreated).size(), 19u);
        }
        if (text::EqualsNoCase(name, "kernel32.dll")) {
            kernel = true;
            // Wine's DLLs carry version resources.
            EXPECT_FALSE(modules.ItemText(i, kModuleDescription).empty());
            EXPECT_FALSE(modules.ItemText(i, kModuleVersion).empty());
        }
    }
    EXPECT_TRUE(exe);
    EXPECT_TRUE(kernel);

    ListView_SetCheckState(list.Handle(), row, TRUE);
    testing::Click(page.Item(IDC_PROCESS_END));
    ASSERT_TRUE(testing::WaitForRefresh(page));
    DWORD code = 0;
    ASSERT_TRUE(child.Ended(&code));
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(FindRow(list, kProcessId, std::to_string(child.Id())), -1);
    for (int i = 0; i < list.ItemCount(); ++i) EXPECT_FALSE(IsChecked(list, i));
}

// Ids are reused: the ticked row's process ended after the list was read and
// another process got its id before the click. That one is not ended.
TEST_F(RealPlatformTest, AProcessThatTookTheTickedRowsIdIsNotEnded) {
    const std::string successorPath = testing::ProgramDirectory() + "tv_successor.exe";
    ASSERT_TRUE(CopyFileA((testing::ProgramDirectory() + "tv_sleeper.exe").c_str(),
                          successorPath.c_str(), FALSE));
    PageHost host;
    ProcessPage page(platform_);
    ASSERT_TRUE(page.CreatePage(host.Get()));
    const ui::ListView& list = page.ProcessList();
    int row = -1;
    {
        Sleeper first;
        ASSERT_NE(first.Id(), 0u);
        ASSERT_TRUE(testing::RefreshAndWait(page));
        row = FindRow(list, kProcessId, std::to_string(first.Id()));
        ASSERT_GE(row, 0);
    }  // ends it
    Sleeper successor(successorPath);
    ASSERT_NE(successor.Id(), 0u);
    // Wine hands out ids afresh, so the reuse is made in the row: it now
    // names the successor's id with the first process's start time and path.
    std::string id = std::to_string(successor.Id());
    ListView_SetItemText(list.Handle(), row, kProcessId, id.data());
    ListView_SetCheckState(list.Handle(), row, TRUE);
    testing::Click(page.Item(IDC_PROCESS_END));
    ASSERT_TRUE(testing::WaitForRefresh(page));
    EXPECT_TRUE(successor.Running());
    // The list was read again: the successor is there, unticked.
    int now = FindRow(list, kProcessId, id);
    ASSERT_GE(now, 0);
    EXPECT_FALSE(IsChecked(list, now));
    EXPECT_TRUE(text::EqualsNoCase(list.ItemText(now, kProcessPath), successorPath));

    // Its own row, read now, ends it.
    ListView_SetCheckState(list.Handle(), now, TRUE);
    testing::Click(page.Item(IDC_PROCESS_END));
    ASSERT_TRUE(testing::WaitForRefresh(page));
    DWORD code = 0;
    ASSERT_TRUE(successor.Ended(&code));
    EXPECT_EQ(code, 1u);
}

TEST_F(RealPlatformTest, RepeatedRefreshesDoNotGrowHandlesOrGdiObjects) {
    PageHost host;
    ProcessPage page(platform_);
    ASSERT_TRUE(page.CreatePage(host.Get()));
    ASSERT_TRUE(testing::RefreshAndWait(page));
    ASSERT_TRUE(testing::RefreshAndWait(page));
    const int iconsBefore = page.RowIconCount();
    DWORD handlesBefore = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    int gdiBefore = testing::GdiObjectCount();
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(testing::RefreshAndWait(page));
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_LE(handlesAfter, handlesBefore + 2);
    EXPECT_LE(testing::GdiObjectCount(), gdiBefore + 2);
    // Icons are kept per file: the same processes add none.
    EXPECT_LE(page.RowIconCount(), iconsBefore + 2);
}

TEST_F(RealPlatformTest, ScreenshotsOfBothTabs) {
    Sleeper child;
    fakes_.clock.SetToday({2009, 10, 25});
    MainWindow window(platform_);
    ASSERT_TRUE(window.Create(nullptr));
    // The pages gather off this thread; wait until they are filled.
    ASSERT_TRUE(PumpMessagesUntil([&] { return window.PagesFilled(); }));
    SetWindowPos(window.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    PumpMessages(30);
    testing::Click(window.SectionButton(4).Handle());
    auto& container = *static_cast<ManagementContainer*>(window.Page(4));
    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    auto save = [&](const std::string& name) {
        RedrawWindow(window.Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(100);
        std::string path = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\" + name + ".png";
        EXPECT_TRUE(testing::SaveWindowPng(window.Handle(), path)) << path;
    };

    testing::Click(container.TabButton(2).Handle());
    ASSERT_TRUE(PumpMessagesUntil([&] { return window.PagesFilled(); }));
    auto& processes = *static_cast<ProcessPage*>(container.Page(2));
    ASSERT_GT(processes.ProcessList().ItemCount(), 2);
    int row = FindRow(processes.ProcessList(), kProcessId, std::to_string(child.Id()));
    ASSERT_GE(row, 0);
    ClickRow(processes.ProcessList(), row);
    ListView_SetCheckState(processes.ProcessList().Handle(), row, TRUE);
    EXPECT_GT(processes.ModuleList().ItemCount(), 0);
    save("processes-tab");

    testing::Click(container.TabButton(3).Handle());
    ASSERT_TRUE(PumpMessagesUntil([&] { return window.PagesFilled(); }));
    auto& services = *static_cast<ServicePage*>(container.Page(3));
    EXPECT_GT(services.List().ItemCount(), 5);
    Select(services.List(), 2);
    save("services-tab");
}

}  // namespace
}  // namespace tv
