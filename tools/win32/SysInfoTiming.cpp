// tvsysinfo-timing: where the system information page's start-up time goes.
// Gathers the page's content once with the real platform, on a thread set
// up as the program's own (OLE initialised), as the page does at start in a
// fresh process, and prints the time of each stage on one line, then the
// time of the startup tab's scan, the other gathering made at start:
//   facts  Win32_Processor  Win32_VideoController  Win32_DiskDrive  rest  total  startup-scan
// (milliseconds, tab-separated). tools/measure-startup.sh runs it several
// times and prints the medians.
#include <windows.h>
#include <ole2.h>

#include <cstdio>

#include "manage/StartupScan.h"
#include "tests/support/FakePlatform.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemProbe.h"
#include "platform/win32/Win32TaskScheduler.h"
#include "platform/win32/Win32TextCodec.h"
#include "platform/win32/Win32Wmi.h"
#include "sysinfo/SystemInfoContent.h"

int main() {
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    {
        tv::Win32SystemProbe probe;
        tv::Win32Wmi wmi;
        tv::Win32Drives drives;
        tv::Win32Registry registry;
        tv::SystemFacts facts(probe);
        tv::HardwareQueries queries(wmi);
        tv::HardwareInventory inventory(probe, drives, registry);
        LARGE_INTEGER frequency, start, last, now;
        QueryPerformanceFrequency(&frequency);
        auto ms = [&](const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
            return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) /
                   static_cast<double>(frequency.QuadPart);
        };
        QueryPerformanceCounter(&start);
        last = start;
        tv::GatherSystemInfo(facts, queries, inventory, [&](tv::GatherStage) {
            QueryPerformanceCounter(&now);
            std::printf("%.1f\t", ms(last, now));
            last = now;
        });
        std::printf("%.1f\t", ms(start, last));

        tv::Win32FileSystem files;
        tv::Win32Environment environment;
        tv::Win32ShellLinks links;
        // The scan reads the real registry, folders, links and scheduled
        // tasks and names them through the code page, as the tab's does.
        tv::testing::FakePlatform fakes;
        tv::Platform platform = fakes.Get();
        platform.registry = registry;
        platform.files = files;
        platform.drives = drives;
        platform.environment = environment;
        platform.links = links;
        tv::Win32TextCodec codec;
        platform.codec = codec;
        tv::Win32TaskScheduler tasks;
        platform.tasks = tasks;
        QueryPerformanceCounter(&start);
        tv::StartupScan(platform);
        QueryPerformanceCounter(&now);
        std::printf("%.1f\n", ms(start, now));
    }
    if (ole) OleUninitialize();
    return 0;
}
