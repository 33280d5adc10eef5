// tvdriver: works the running program from outside for the scripts.
//   tvdriver close [ms]            send the close command and wait for the
//                                  program to end, answering the notice
//                                  whenever it is shown
//   tvdriver wait-window [ms]      wait until the main window is shown (the
//                                  notice, if any, is dismissed)
//   tvdriver startup-time EXE N    start EXE N times; print the time from
//                                  process start to main window shown, and
//                                  the median
//   tvdriver startup-compare EXE STANDIN N
//                                  start STANDIN and EXE in turn, N times
//                                  each; print both times to the window,
//                                  EXE's time until every page is filled,
//                                  the medians and the ratio to the goal
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
// Set on the main window once every page has filled its controls.
const char kPagesFilledProperty[] = "TrimvexPagesFilled";
constexpr double kStartGoal = 1.3;

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
    // The window's run ends only once the outdated-version notice, which
    // may come up after the window, has been answered.
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout) {
        if (WaitForSingleObject(handle.Get(), 20) == WAIT_OBJECT_0) return true;
        if (HWND notice = FindTopLevel(kNoticeCaption, process))
            PostMessageA(notice, WM_COMMAND, IDOK, 0);
    }
    return false;
}

struct StartTimes {
    double window = 0;  // process start to main window shown, ms
    double filled = 0;  // process start to every page filled, ms (0: not asked)
};

// Starts `exe` once, waits for its main window (and, when `waitFilled`, for
// its pages), closes it. False when it fails.
bool TimeOneStart(const char* exe, bool waitFilled, StartTimes* times, LARGE_INTEGER* noticeAt,
                  double* noticeMs) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
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
        return false;
    }
    tv::ScopedHandle thread(info.hThread);
    tv::ScopedHandle process(info.hProcess);
    LARGE_INTEGER notice{};
    HWND main = WaitForMainWindow(info.dwProcessId, 30000, &notice);
    QueryPerformanceCounter(&end);
    if (!main) {
        TerminateProcess(process.Get(), 1);
        std::fprintf(stderr, "no main window\n");
        return false;
    }
    auto since = [&](const LARGE_INTEGER& t) {
        return 1000.0 * static_cast<double>(t.QuadPart - begin.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    };
    times->window = since(end);
    if (waitFilled) {
        const DWORD start = GetTickCount();
        while (!GetPropA(main, kPagesFilledProperty) && GetTickCount() - start < 30000) {
            // The outdated-version notice comes after the window.
            if (HWND box = FindTopLevel(kNoticeCaption, info.dwProcessId)) {
                if (notice.QuadPart == 0) QueryPerformanceCounter(&notice);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(1);
        }
        QueryPerformanceCounter(&end);
        times->filled = GetPropA(main, kPagesFilledProperty) ? since(end) : -1;
    }
    if (noticeAt) *noticeAt = notice;
    if (noticeMs) *noticeMs = notice.QuadPart ? since(notice) : 0;
    CloseProgram(main, 10000);
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

int StartupCompare(const char* exe, const char* standIn, int runs, bool waitFilled) {
    std::vector<double> standInTimes, windowTimes, filledTimes, ratios;
    for (int run = 0; run < runs; ++run) {
        StartTimes bare, program;
        if (!TimeOneStart(standIn, false, &bare, nullptr, nullptr)) return 1;
        double notice = 0;
        if (!TimeOneStart(exe, waitFilled, &program, nullptr, &notice)) return 1;
        standInTimes.push_back(bare.window);
        windowTimes.push_back(program.window);
        filledTimes.push_back(program.filled);
        ratios.push_back(program.window / bare.window);
        std::printf("run %d: stand-in %.0f ms, Trimvex %.0f ms (%.2fx), every page filled %.0f ms%s\n",
                    run + 1, bare.window, program.window, program.window / bare.window,
                    program.filled, notice > 0 ? " (the notice was closed at once)" : "");
        std::fflush(stdout);
    }
    const double ratio = Median(ratios);
    std::printf("median: stand-in %.0f ms, Trimvex %.0f ms to the window, %.0f ms until every page is filled\n",
                Median(standInTimes), Median(windowTimes), Median(filledTimes));
    std::printf("start ratio (median of the pairs): %.2fx   goal <= %.1fx   %s\n", ratio,
                kStartGoal, ratio <= kStartGoal ? "met" : "NOT met");
    std::printf("filling after a bare window's start: %.0f ms\n",
                Median(filledTimes) - Median(standInTimes));
    return 0;
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
    // A trailing "window-only" skips the wait for filled pages (a program
    // that fills them before its window shows sets no property).
    if (command == "startup-compare" && argc > 4)
        return StartupCompare(argv[2], argv[3], std::atoi(argv[4]),
                              !(argc > 5 && std::string(argv[5]) == "window-only"));
    std::fprintf(stderr, "usage: tvdriver close|wait-window [ms] | startup-time EXE RUNS | startup-compare EXE STANDIN RUNS\n");
    return 2;
}
