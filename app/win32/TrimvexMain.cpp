// Program entry: create the main window, run it modally, end when it closes.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/win32/MainWindow.h"
#include "platform/ui/CommonControls.h"
#include "platform/Platform.h"
#include "platform/UserFirstShell.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Prompter.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32UserShell.h"
#include "platform/win32/Win32SystemProbe.h"
#include "platform/win32/Win32Wmi.h"
#include "platform/win32/Win32ServiceControl.h"
#include "platform/win32/Win32DisplaySettings.h"
#include "platform/win32/Win32FileDialog.h"
#include "platform/win32/Win32DesktopShell.h"
#include "platform/win32/Win32WorkerThreads.h"
#include "platform/win32/BackgroundThreads.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32Tokens.h"
#include "platform/win32/Win32VersionResources.h"
#include "platform/win32/Win32ServiceDatabase.h"
#include "platform/win32/Win32ProcessTable.h"
#include "platform/win32/Win32SystemFiles.h"
#include "platform/win32/Win32TextCodec.h"
#include "platform/win32/Win32TaskScheduler.h"
#include "platform/win32/Win32TrustVerifier.h"

namespace {

// The program runs elevated from a folder that may be writable without
// admin rights (Downloads, a USB stick), and its current directory may be
// anywhere: a DLL planted in either, loaded by name by the program or a
// system component, would run with the program's rights. From here on,
// loads by name search the system directory only. Windows 7 without
// KB2533623 lacks SetDefaultDllDirectories; there SetDllDirectory("")
// at least takes the current directory out of the search.
void KeepDllLoadsInTheSystemDirectory() {
    using SetDefaultFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto setDefault = kernel ? reinterpret_cast<SetDefaultFn>(reinterpret_cast<void*>(
                                   GetProcAddress(kernel, "SetDefaultDllDirectories")))
                             : nullptr;
    if (!setDefault || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryA("");
}

// Every platform service of the program. Made once and never destroyed: a
// thread that outlives the end of the window (a hung query) may still use
// them until the process ends.
struct Services {
    tv::Win32Registry registry;
    tv::Win32Clock clock;
    tv::Win32Shell ownShell;
    // Addresses, the mail program and the browser start through the user's
    // desktop shell only, with the user's rights; where it does not take one,
    // the user is told what to open (never from this elevated process).
    tv::Win32UserShell userShell;
    tv::Win32NoticePrompter shellNotices;
    tv::UserFirstShell shell{userShell, ownShell, shellNotices};
    tv::Win32FileSystem files;
    tv::Win32Drives drives;
    tv::Win32Environment environment;
    tv::Win32Prompter prompter;
    tv::Win32SystemProbe system;
    tv::Win32Wmi wmi;
    tv::Win32ServiceControl services;
    tv::Win32DisplaySettings display;
    tv::Win32FileDialog fileDialog;
    tv::Win32DesktopShell desktop;
    tv::Win32ShellLinks links;
    tv::Win32VersionResources versions;
    tv::Win32Tokens tokens;
    tv::Win32WorkerThreads workers;
    tv::Win32ServiceDatabase serviceDatabase;
    tv::Win32ProcessTable processes;
    tv::Win32SystemFiles systemFiles;
    tv::Win32TextCodec codec;
    tv::Win32TaskScheduler tasks;
    tv::Win32TrustVerifier trust;

    tv::Platform Get() {
        return {registry,  clock,           shell, files,   drives,   environment, prompter, system,
                wmi,       services,        display,  fileDialog, desktop, workers,    links,    versions,
                tokens,    serviceDatabase, processes, systemFiles, codec,  tasks,      trust};
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    KeepDllLoadsInTheSystemDirectory();
    tv::ui::InitCommonControlsFromSystem(ICC_WIN95_CLASSES);
    // Hosting of ActiveX controls needs OLE on this thread for the whole run.
    const tv::OleSession ole(OleInitialize(nullptr));
    // Before any other thread starts.
    tv::SetProcessComSecurity();

    Services* services = new Services;  // never deleted, see Services
    {
        // Its end cancels the pages' gatherings and waits for them once.
        tv::MainWindow window(services->Get());
        window.DoModal();
    }
    // A thread that outlived the window's wait (a hung query) must not see
    // the statics destroyed under it: the process ends here, as it is.
    if (!tv::EndBackgroundThreads(0)) ExitProcess(0);
    return 0;
}
