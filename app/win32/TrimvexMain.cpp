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
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32Tokens.h"
#include "platform/win32/Win32VersionResources.h"
#include "platform/win32/Win32ServiceDatabase.h"
#include "platform/win32/Win32ProcessTable.h"
#include "platform/win32/Win32SystemFiles.h"
#include "platform/win32/Win32TextCodec.h"

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

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    KeepDllLoadsInTheSystemDirectory();
    tv::ui::InitCommonControlsFromSystem(ICC_WIN95_CLASSES);
    // Hosting of ActiveX controls needs OLE on this thread for the whole run.
    struct OleSession {
        OleSession() : ok(SUCCEEDED(OleInitialize(nullptr))) {}
        ~OleSession() {
            if (ok) OleUninitialize();
        }
        bool ok;
    } ole;

    tv::Win32Registry registry;
    tv::Win32Clock clock;
    tv::Win32Shell ownShell;
    // Addresses and the browser start through the user's desktop shell, with
    // the user's rights; from this elevated process only without one.
    tv::Win32UserShell userShell;
    tv::UserFirstShell shell(userShell, ownShell);
    tv::Win32FileSystem files;
    tv::Win32Drives drives;
    tv::Win32Environment environment;
    tv::Win32Prompter prompter;
    tv::Platform platform{&registry, &clock, &shell, &files, &drives, &environment, &prompter};
    tv::Win32SystemProbe system;
    platform.system = &system;
    tv::Win32Wmi wmi;
    platform.wmi = &wmi;
    tv::Win32ServiceControl services;
    platform.services = &services;
    tv::Win32DisplaySettings display;
    platform.display = &display;
    tv::Win32FileDialog fileDialog;
    platform.fileDialog = &fileDialog;
    tv::Win32DesktopShell desktop;
    platform.desktop = &desktop;
    tv::Win32ShellLinks links;
    platform.links = &links;
    tv::Win32VersionResources versions;
    platform.versions = &versions;
    tv::Win32Tokens tokens;
    platform.tokens = &tokens;
    // Declared after the services its workers use, so it waits for them
    // before those go away.
    tv::Win32WorkerThreads workers;
    platform.workers = &workers;
    tv::Win32ServiceDatabase serviceDatabase;
    platform.serviceDatabase = &serviceDatabase;
    tv::Win32ProcessTable processes;
    platform.processes = &processes;
    tv::Win32SystemFiles systemFiles;
    platform.systemFiles = &systemFiles;
    tv::Win32TextCodec codec;
    platform.codec = &codec;
    {
        tv::MainWindow window(platform);
        window.DoModal();
    }
    return 0;
}
