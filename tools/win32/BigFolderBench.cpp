// tvbigfolderbench: times the startup tab filling its list from big startup
// folders under Wine, for tools/bench-bigfolder.sh.
//   tvbigfolderbench [FILES] [RUNS]
// Puts FILES startup files (default 3,000), half in the user's startup
// folder and half in everyone's, so that no folder reaches the walk's bound:
// every other one a shortcut to a program of its own, the rest programs.
// Each program is a file of its own, so every row costs one icon look-up.
// Then, side by side in turn (RUNS times, after one of each to warm up):
// - the bare work: list both folders, resolve each shortcut through the
//   shell's link object, read each file's small icon from the shell;
// - the tab's refresh as the window makes it: the scan off this thread, the
//   hand-off timer, the rows and icons into the list.
// Prints the medians and their ratio against the goal (2x). Meant for a
// prefix of its own: it leaves what it added in place.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "manage/StartupScan.h"
#include "manage/win32/StartupPage.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeShell.h"
#include "platform/ui/Gathering.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Prompter.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32TaskScheduler.h"
#include "platform/win32/Win32TextCodec.h"
#include "platform/win32/Win32Tokens.h"
#include "platform/win32/Win32VersionResources.h"
#include "tests/support/Shortcut.h"

namespace {

constexpr double kGoal = 2.0;

tv::StartupPage* benchPage = nullptr;

// The hand-off window, as the main window is one: on each tick the page
// takes what its scan gathered.
LRESULT CALLBACK HandOffProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (tv::ui::HandOff(window, message, wParam, [] {
            if (benchPage) benchPage->TakeGathered();
            return benchPage && !benchPage->Filled();
        }))
        return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

double Milliseconds(std::chrono::steady_clock::time_point begin) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void MakeFolders(const std::string& folder) {
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
}

bool MakeProgram(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, "MZ", 2, &written, nullptr);
    CloseHandle(file);
    return true;
}

// What the list needs and nothing else: the folder's names, each
// shortcut's target, each file's small icon.
size_t BareWork(const std::vector<std::wstring>& folders) {
    size_t icons = 0;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return 0;
    IPersistFile* persist = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
    for (const std::wstring& folder : folders) {
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            std::wstring file = folder + L"\\" + found.cFileName;
            const size_t length = file.size();
            if (length > 4 && _wcsicmp(file.c_str() + length - 4, L".lnk") == 0 && persist &&
                SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
                wchar_t target[MAX_PATH] = {};
                if (SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) && target[0]) file = target;
            }
            SHFILEINFOW info{};
            if (SHGetFileInfoW(file.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON))
                ++icons;
            if (info.hIcon) DestroyIcon(info.hIcon);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    if (persist) persist->Release();
    link->Release();
    return icons;
}

// One refresh of the tab, from the click to the filled list.
void FillOnce(tv::StartupPage& page) {
    page.StartupScan();
    MSG message;
    while (!page.Filled() && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::max(2, std::atoi(argv[1])) : 3000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    OleInitialize(nullptr);

    tv::Win32Registry registry;
    tv::FakeClock clock;
    tv::FakeShell shell;
    tv::Win32FileSystem fileSystem;
    tv::Win32Drives drives;
    tv::Win32Environment environment;
    tv::Win32Prompter prompter;
    tv::Win32ShellLinks links;
    tv::Win32VersionResources versions;
    tv::Win32Tokens tokens;
    tv::Win32TextCodec codec;
    tv::Win32TaskScheduler tasks;
    tv::Platform platform{&registry, &clock, &shell, &fileSystem, &drives, &environment, &prompter};
    platform.links = &links;
    platform.versions = &versions;
    platform.tokens = &tokens;
    platform.codec = &codec;
    platform.tasks = &tasks;

    const std::string folders[] = {
        tv::ReadStartupFolder(platform, tv::kHkeyCurrentUser, "Startup"),
        tv::ReadStartupFolder(platform, tv::kHkeyLocalMachine, "Common Startup")};
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string programs = std::string(windows) + "\\TvBigFolder";
    MakeFolders(programs);
    std::vector<std::wstring> wideFolders;
    int made = 0;
    for (int f = 0; f < 2; ++f) {
        if (folders[f].empty()) {
            std::fprintf(stderr, "no startup folder\n");
            return 1;
        }
        MakeFolders(folders[f]);
        for (int i = f; i < files; i += 2) {
            char name[32];
            std::snprintf(name, sizeof name, "\\tvbig%04d", i);
            const std::string program = programs + name + ".exe";
            bool ok = (i / 2) % 2 == 0 ? MakeProgram(program) &&
                                             tv::testing::MakeShortcut(folders[f] + name + ".lnk", program)
                                       : MakeProgram(folders[f] + name + ".exe");
            made += ok;
        }
        const std::u16string wide = codec.AnsiToWide(folders[f]);
        wideFolders.emplace_back(wide.begin(), wide.end());
    }
    std::printf("%d startup files (%d in each startup folder, half of them shortcuts)\n", made, made / 2);

    WNDCLASSA type{};
    type.lpfnWndProc = HandOffProc;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "TvBigFolderBench";
    RegisterClassA(&type);
    HWND parent = CreateWindowExA(0, type.lpszClassName, "bench", WS_POPUP, 0, 0, 800, 600, nullptr,
                                  nullptr, type.hInstance, nullptr);
    int result = 0;
    {
        tv::StartupPage page(platform);
        page.CreatePage(parent);
        benchPage = &page;
        tv::ui::SetHandOffWindow(parent);

        std::vector<double> bare, fill;
        size_t icons = 0;
        for (int run = -1; run < runs; ++run) {
            auto begin = std::chrono::steady_clock::now();
            icons = BareWork(wideFolders);
            const double bareMs = Milliseconds(begin);
            begin = std::chrono::steady_clock::now();
            FillOnce(page);
            const double fillMs = Milliseconds(begin);
            if (run < 0) continue;  // the first of each warms the caches
            bare.push_back(bareMs);
            fill.push_back(fillMs);
            std::printf("run %d: bare work %.0f ms, list filled %.0f ms (%.2fx)\n", run + 1, bareMs,
                        fillMs, fillMs / bareMs);
            std::fflush(stdout);
        }
        const int rows = page.List().ItemCount();
        const double ratio = Median(fill) / Median(bare);
        std::printf("bare work: %zu icons read\n", icons);
        std::printf("the list: %d rows\n", rows);
        std::printf("median: bare work %.0f ms, list filled %.0f ms (%.1f ms a file)\n", Median(bare),
                    Median(fill), Median(fill) / std::max(made, 1));
        std::printf("fill against the bare work: %.2fx   goal <= %.1fx   %s\n", ratio, kGoal,
                    ratio <= kGoal ? "met" : "NOT met");
        if (rows < made) result = 1;
        tv::ui::SetHandOffWindow(nullptr);
        benchPage = nullptr;
    }
    DestroyWindow(parent);
    OleUninitialize();
    return result;
}
