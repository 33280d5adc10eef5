// tvdriver: works the running program from outside for the scripts.
//   tvdriver close [ms]            dismiss the notice if shown, send the close
//                                  command, wait for the program to end
//   tvdriver wait-window [ms]      wait until the main window is shown (the
//                                  notice, if any, is dismissed)
//   tvdriver startup-time EXE N    start EXE N times; print the time from
//                                  process start to main window shown, and
//                                  the median
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/ScopedHandle.h"

namespace {

const char kTitle[] = "Trimvex 1.1   Build20091025";
const char kNoticeCaption[] = "Trimvex";
const int kCloseCommand = 1012;

HWND FindTopLevel(const char* title, DWORD process) {
    struct Search {
        const char* title;
        DWORD process;
        HWND found;
    } search{title, process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char text[256] = {};
            GetWindowTextA(window, text, sizeof(text));
            if ((s->process == 0 || owner == s->process) && IsWindowVisible(window) &&
                std::string(text) == s->title) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits for the main window, closing the outdated-version notice on the way
// (and telling when it was first seen, if `noticeSeen` is given).
HWND WaitForMainWindow(DWORD process, DWORD timeout, LARGE_INTEGER* noticeSeen = nullptr) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout) {
        if (HWND main = FindTopLevel(kTitle, process)) return main;
        if (HWND notice = FindTopLevel(kNoticeCaption, process)) {
            if (noticeSeen && noticeSeen->QuadPart == 0) QueryPerformanceCounter(noticeSeen);
            PostMessageA(notice, WM_COMMAND, IDOK, 0);
        }
        Sleep(2);
    }
    return nullptr;
}

bool CloseProgram(HWND main, DWORD timeout) {
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    tv::ScopedHandle handle(OpenProcess(SYNCHRONIZE, FALSE, process));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kCloseCommand, BN_CLICKED), 0);
    if (!handle) return true;
    return WaitForSingleObject(handle.Get(), timeout) == WAIT_OBJECT_0;
}

int StartupTime(const char* exe, int runs) {
    std::vector<double> times;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int run = 0; run < runs; ++run) {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        std::string line = std::string("\"") + exe + "\"";
        std::vector<char> command(line.begin(), line.end());
        command.push_back('\0');
        LARGE_INTEGER begin, end;
        QueryPerformanceCounter(&begin);
        if (!CreateProcessA(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info)) {
            std::fprintf(stderr, "cannot start %s (%lu)\n", exe, GetLastError());
            return 1;
        }
        tv::ScopedHandle thread(info.hThread);
        tv::ScopedHandle process(info.hProcess);
        LARGE_INTEGER notice{};
        HWND main = WaitForMainWindow(info.dwProcessId, 30000, &notice);
        QueryPerformanceCounter(&end);
        if (!main) {
            TerminateProcess(process.Get(), 1);
            std::fprintf(stderr, "no main window\n");
            return 1;
        }
        auto since = [&](const LARGE_INTEGER& t) {
            return 1000.0 * static_cast<double>(t.QuadPart - begin.QuadPart) /
                   static_cast<double>(frequency.QuadPart);
        };
        double ms = since(end);
        times.push_back(ms);
        if (notice.QuadPart != 0)
            std::printf("run %d: %.0f ms (the notice, closed at once, was up at %.0f ms)\n",
                        run + 1, ms, since(notice));
        else
            std::printf("run %d: %.0f ms\n", run + 1, ms);
        std::fflush(stdout);
        CloseProgram(main, 10000);
    }
    std::sort(times.begin(), times.end());
    std::printf("median: %.0f ms over %d runs\n", times[times.size() / 2], runs);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "close") {
        DWORD timeout = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 10000;
        HWND main = WaitForMainWindow(0, timeout);
        return main && CloseProgram(main, timeout) ? 0 : 1;
    }
    if (command == "wait-window") {
        DWORD timeout = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 30000;
        return WaitForMainWindow(0, timeout) ? 0 : 1;
    }
    if (command == "startup-time" && argc > 3) return StartupTime(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: tvdriver close|wait-window [ms] | startup-time EXE RUNS\n");
    return 2;
}
