// tvbench-manage: times the processes tab's refresh and the services tab's
// scan under the running Windows (or Wine), each next to a bare loop making
// the same platform calls.
//   tvbench-manage SLEEPER.EXE [extra processes] [runs] [distinct images]
// With distinct images, the extra processes run from that many copies of the
// sleeper (in a temporary folder), so the list holds that many image files.
#include <windows.h>
#include <shellapi.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "manage/ProcessList.h"
#include "manage/ServiceScan.h"
#include "manage/win32/ProcessPage.h"
#include "manage/win32/ServicePage.h"
#include "platform/fake/FakePrompter.h"
#include "tests/support/FakePlatform.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32ProcessTable.h"
#include "platform/win32/Win32ServiceDatabase.h"
#include "platform/win32/Win32SystemFiles.h"
#include "platform/win32/Win32Tokens.h"
#include "platform/win32/Win32VersionResources.h"

namespace {

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The median of `runs` timings of `work`, in milliseconds.
double Time(int runs, const std::function<void()>& work) {
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QueryPerformanceCounter(&begin);
        work();
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    }
    return Median(times);
}

// Snapshot, open, image path and memory for every process, nothing else.
int BareProcessLoop() {
    int count = 0;
    tv::ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    if (!Process32First(snapshot.Get(), &entry)) return 0;
    do {
        tv::ScopedHandle process(OpenProcess(0x1F0FFF, FALSE, entry.th32ProcessID));
        char path[MAX_PATH] = {};
        GetModuleFileNameExA(process.Get(), nullptr, path, MAX_PATH);
        PROCESS_MEMORY_COUNTERS counters{};
        GetProcessMemoryInfo(process.Get(), &counters, sizeof(counters));
        ++count;
    } while (Process32Next(snapshot.Get(), &entry));
    return count;
}

// Enumerate, then open and query configuration and description of each.
int BareServiceLoop() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, GENERIC_READ | SC_MANAGER_ENUMERATE_SERVICE);
    if (!manager) return 0;
    ENUM_SERVICE_STATUSA probe{};
    DWORD needed = 0, count = 0, resume = 0;
    EnumServicesStatusA(manager, SERVICE_WIN32, SERVICE_STATE_ALL, &probe, 0, &needed, &count, &resume);
    std::vector<BYTE> buffer(needed + 4096);
    resume = 0;
    auto* entries = reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data());
    EnumServicesStatusA(manager, SERVICE_WIN32, SERVICE_STATE_ALL, entries,
                        static_cast<DWORD>(buffer.size()), &needed, &count, &resume);
    std::vector<BYTE> block(8192);
    for (DWORD i = 0; i < count; ++i) {
        SC_HANDLE service = OpenServiceA(manager, entries[i].lpServiceName, SERVICE_ALL_ACCESS);
        if (!service) continue;
        QueryServiceConfigA(service, reinterpret_cast<QUERY_SERVICE_CONFIGA*>(block.data()),
                            static_cast<DWORD>(block.size()), &needed);
        QueryServiceConfig2A(service, SERVICE_CONFIG_DESCRIPTION, block.data(),
                             static_cast<DWORD>(block.size()), &needed);
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return static_cast<int>(count);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tvbench-manage SLEEPER.EXE [extra processes] [runs]\n");
        return 2;
    }
    int extra = argc > 2 ? std::atoi(argv[2]) : 100;
    int runs = argc > 3 ? std::atoi(argv[3]) : 7;
    int distinct = argc > 4 ? std::atoi(argv[4]) : 0;
    std::vector<std::string> images;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "tvbench-images";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < distinct; ++i) {
        char name[64];
        std::snprintf(name, sizeof(name), "\\sleeper%02d.exe", i);
        std::string copy = folder + name;
        if (CopyFileA(argv[1], copy.c_str(), FALSE)) images.push_back(copy);
    }
    if (images.empty()) images.push_back(argv[1]);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    std::vector<tv::ScopedHandle> sleepers;
    for (int i = 0; i < extra; ++i) {
        const std::string& image = images[static_cast<size_t>(i) % images.size()];
        std::string command = std::string("\"") + image + "\" 600000";
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(image.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info)) {
            std::fprintf(stderr, "cannot start %s (%lu)\n", image.c_str(), GetLastError());
            break;
        }
        tv::ScopedHandle thread(info.hThread);
        sleepers.emplace_back(info.hProcess);
    }
    Sleep(500);

    tv::FakeRegistry registry;
    tv::FakePrompter prompter;
    tv::Win32Environment environment;
    tv::Win32ServiceDatabase services;
    tv::Win32ProcessTable processes;
    tv::Win32SystemFiles systemFiles;
    tv::Win32VersionResources versions;
    tv::Win32Tokens tokens;
    tv::testing::FakePlatform fakes;
    tv::Platform platform = fakes.Get();
    platform.versions = versions;
    platform.tokens = tokens;
    platform.registry = registry;
    platform.environment = environment;
    platform.prompter = prompter;
    platform.serviceDatabase = services;
    platform.processes = processes;
    platform.systemFiles = systemFiles;

    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 1010, 500, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    {
        tv::ProcessPage processPage(platform);
        tv::ServicePage servicePage(platform);
        if (!processPage.CreatePage(host) || !servicePage.CreatePage(host)) {
            std::fprintf(stderr, "cannot create the pages\n");
            return 1;
        }

        int listed = 0;
        double refresh = Time(runs, [&] { processPage.RefreshProcessList(); });
        listed = processPage.ProcessList().ItemCount();
        double rowsOnly = Time(runs, [&] { tv::ListProcessRows(platform); });
        double windows = Time(runs, [&] {
            for (int i = 0; i < listed; ++i) processes.OwnsTopLevelWindow(0xFFFFFFF0u);
        });
        double accounts = Time(runs, [&] {
            std::string domain, name;
            for (int i = 0; i < listed; ++i) processes.OwnerAccount(GetCurrentProcessId(), &domain, &name);
        });
        // Icons are looked up once per image file and kept: what a refresh
        // of new processes pays.
        std::set<std::string> files;
        for (int i = 0; i < listed; ++i) files.insert(processPage.ProcessList().ItemText(i, 6));
        double icons = Time(runs, [&] {
            for (const auto& path : files) {
                SHFILEINFOA info{};
                SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info),
                               SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
                if (info.hIcon) DestroyIcon(info.hIcon);
            }
        });
        std::vector<tv::ListRow> processRows = tv::ListProcessRows(platform);
        const tv::ui::ListView& view = processPage.ProcessList();
        // Rows whose texts the page answers for, as the refresh makes them.
        double fill = Time(runs, [&] {
            view.DeleteAllItems();
            for (const auto& row : processRows) tv::AppendCallbackRow(view, 0, row.itemData);
        });
        double bare = Time(runs, [&] { BareProcessLoop(); });
        std::printf("processes: %d listed (%zu started for the run, from %zu image files)\n",
                    listed, sleepers.size(), images.size());
        std::printf("  RefreshProcessList  %8.1f ms\n", refresh);
        std::printf("  bare loop           %8.1f ms   ratio %.1f   goal <= 2.0   %s\n", bare,
                    refresh / bare, refresh / bare <= 2.0 ? "met" : "NOT met");
        std::printf("  of the refresh: rows without list or icons %.1f ms, window tests %.1f ms,"
                    " account look-ups %.1f ms, shell icons of the %zu files (once each, then kept) %.1f ms,"
                    " list fill %.1f ms\n", rowsOnly, windows, accounts, files.size(), icons, fill);

        double scan = Time(runs, [&] { servicePage.ServiceScan(); });
        int rows = servicePage.List().ItemCount();
        double scanRows = Time(runs, [&] { tv::ServiceScan(platform); });
        double bareScan = Time(runs, [&] { BareServiceLoop(); });
        std::printf("services: %d listed\n", rows);
        std::printf("  ServiceScan         %8.1f ms\n", scan);
        std::printf("  bare loop           %8.1f ms   ratio %.1f\n", bareScan, scan / bareScan);
        std::printf("  of the scan: rows without the list %.1f ms\n", scanRows);
    }
    DestroyWindow(host);
    for (auto& sleeper : sleepers) {
        TerminateProcess(sleeper.Get(), 0);
        WaitForSingleObject(sleeper.Get(), 5000);
    }
    for (const std::string& image : images)
        if (image != argv[1]) DeleteFileA(image.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
