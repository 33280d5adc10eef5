// tvbench-leaks: refreshes each management list many times (default 1,000)
// under the running Windows (or Wine) and prints how the process's kernel
// handles (on Wine: the lowest free handle slot), GDI objects and USER
// objects grew. A figure, not a test: a list
// that keeps something per refresh shows here as a growth that scales with
// the count.
//   tvbench-leaks [refreshes]
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "manage/win32/AddonPage.h"
#include "manage/win32/ProcessPage.h"
#include "manage/win32/ServicePage.h"
#include "manage/win32/StartupPage.h"
#include "platform/fake/FakePrompter.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProcessTable.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ServiceDatabase.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32SystemFiles.h"
#include "platform/win32/Win32Tokens.h"
#include "platform/win32/Win32VersionResources.h"
#include "tests/support/WindowTestSupport.h"

namespace {

struct Counts {
    long handles;
    long gdi;
    long user;
};

// Wine answers GetProcessHandleCount with 0; there the lowest free slot of
// the handle table stands in: handles kept by a refresh fill the table and
// push it up.
long HandleCount() {
    DWORD handles = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &handles) && handles != 0)
        return static_cast<long>(handles);
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!probe) return -1;
    const long slot = static_cast<long>(reinterpret_cast<std::uintptr_t>(probe) / 4);
    CloseHandle(probe);
    return slot;
}

Counts Now() {
    return {HandleCount(), tv::testing::GdiObjectCount(),
            static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))};
}

void Measure(const char* name, int refreshes, const std::function<void()>& refresh) {
    // The first refreshes fill caches that are meant to stay.
    for (int i = 0; i < 3; ++i) refresh();
    tv::testing::PumpMessages(0);
    const Counts before = Now();
    for (int i = 0; i < refreshes; ++i) {
        refresh();
        if (i % 50 == 0) tv::testing::PumpMessages(0);
    }
    tv::testing::PumpMessages(0);
    const Counts after = Now();
    std::printf("  %-22s handles %+ld (%ld), GDI objects %+ld (%ld), USER objects %+ld (%ld)%s\n",
                name, after.handles - before.handles, after.handles, after.gdi - before.gdi,
                after.gdi, after.user - before.user, after.user,
                before.user == 0 && after.user == 0 ? " [USER objects not counted here]" : "");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int refreshes = argc > 1 ? std::atoi(argv[1]) : 1000;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    // The process page writes a setting when it is made: it gets a registry
    // of its own; the other lists read the real one.
    tv::FakeRegistry scratch;
    tv::Win32Registry registry;
    tv::FakePrompter prompter;
    tv::Win32Environment environment;
    tv::Win32FileSystem files;
    tv::Win32ShellLinks links;
    tv::Win32ServiceDatabase services;
    tv::Win32ProcessTable processes;
    tv::Win32SystemFiles systemFiles;
    tv::Win32VersionResources versions;
    tv::Win32Tokens tokens;
    tv::Platform platform{};
    platform.registry = &registry;
    platform.files = &files;
    platform.links = &links;
    platform.versions = &versions;
    platform.tokens = &tokens;
    platform.environment = &environment;
    platform.prompter = &prompter;
    platform.serviceDatabase = &services;
    platform.processes = &processes;
    platform.systemFiles = &systemFiles;
    tv::Platform processPlatform = platform;
    processPlatform.registry = &scratch;

    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 1010, 500, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    {
        tv::ProcessPage processPage(processPlatform);
        tv::StartupPage startupPage(platform);
        tv::ServicePage servicePage(platform);
        tv::AddonPage addonPage(platform);
        if (!processPage.CreatePage(host) || !startupPage.CreatePage(host) ||
            !servicePage.CreatePage(host) || !addonPage.CreatePage(host)) {
            std::fprintf(stderr, "cannot create the pages\n");
            return 1;
        }
        std::printf("growth over %d refreshes of each list (total after it in brackets):\n",
                    refreshes);
        Measure("processes", refreshes, [&] { processPage.RefreshProcessList(); });
        Measure("startup items", refreshes, [&] { startupPage.StartupScan(); });
        Measure("services", refreshes, [&] { servicePage.ServiceScan(); });
        Measure("add-ons", refreshes, [&] { addonPage.ScanAddons(); });
        std::printf("rows: %d processes, %d startup items, %d services, %d add-ons\n",
                    processPage.ProcessList().ItemCount(), startupPage.List().ItemCount(),
                    servicePage.List().ItemCount(), static_cast<int>(addonPage.Rows().size()));
    }
    DestroyWindow(host);
    return 0;
}
