#include "platform/win32/Win32UserShell.h"

#include <windows.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>

#include <string>

#include "platform/win32/ComPtr.h"

namespace tv {

namespace {

// {4C96BE40-915C-11CF-99D3-00AA004AE837}: the service that hands out the
// browser (here the desktop) that hosts a window's view.
const GUID kTopLevelBrowserService = {
    0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};

// Text in the ANSI code page as UTF-16; empty when it does not convert.
std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// An optional text argument: VT_EMPTY when there is none (the shell's
// default then), else a BSTR the Variant frees.
bool SetText(Variant& argument, const std::string& text) {
    if (text.empty()) return true;
    std::wstring wide = Wide(text);
    BSTR value = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!value) return false;
    argument.Get()->vt = VT_BSTR;
    argument.Get()->bstrVal = value;
    return true;
}

// The desktop's shell application object: the shell-windows collection
// finds the desktop window, its top-level browser gives the active view, and
// the view's background automation object names the application.
ComPtr<IShellDispatch2> DesktopApplication() {
    ComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, __uuidof(IShellWindows),
                                reinterpret_cast<void**>(windows.Put()))))
        return {};
    // The desktop is asked for by its folder id (CSIDL_DESKTOP as VT_I4),
    // with no root.
    Variant location;
    location.Get()->vt = VT_I4;
    location.Get()->lVal = CSIDL_DESKTOP;
    Variant root;
    long window = 0;
    ComPtr<IDispatch> found;
    // S_FALSE: no such window, and no object.
    if (windows->FindWindowSW(location.Get(), root.Get(), SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              found.Put()) != S_OK ||
        !found)
        return {};
    ComPtr<IServiceProvider> services;
    if (FAILED(found->QueryInterface(__uuidof(IServiceProvider), reinterpret_cast<void**>(services.Put()))))
        return {};
    ComPtr<IShellBrowser> browser;
    if (FAILED(services->QueryService(kTopLevelBrowserService, __uuidof(IShellBrowser),
                                      reinterpret_cast<void**>(browser.Put()))))
        return {};
    ComPtr<IShellView> view;
    if (FAILED(browser->QueryActiveShellView(view.Put())) || !view) return {};
    ComPtr<IDispatch> background;
    if (FAILED(view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch),
                                   reinterpret_cast<void**>(background.Put()))))
        return {};
    ComPtr<IShellFolderViewDual> folderView;
    if (FAILED(background->QueryInterface(__uuidof(IShellFolderViewDual),
                                          reinterpret_cast<void**>(folderView.Put()))))
        return {};
    ComPtr<IDispatch> application;
    if (FAILED(folderView->get_Application(application.Put())) || !application) return {};
    ComPtr<IShellDispatch2> shell;
    if (FAILED(application->QueryInterface(__uuidof(IShellDispatch2), reinterpret_cast<void**>(shell.Put()))))
        return {};
    return shell;
}

}  // namespace

bool Win32UserShell::Launch(const ShellLaunch& launch) {
    // The user-interface thread already has COM (S_FALSE here, balanced on
    // exit); a thread set up for the other apartment kind keeps its set-up
    // and is used as it is.
    ComSession com(COINIT_APARTMENTTHREADED);
    if (FAILED(com.Result()) && com.Result() != RPC_E_CHANGED_MODE) return false;

    ComPtr<IShellDispatch2> shell = DesktopApplication();
    if (!shell) return false;
    std::wstring wideFile = Wide(launch.file);
    if (wideFile.empty()) return false;
    Bstr file(wideFile.c_str());
    Variant parameters, directory, verb, show;
    if (!file || !SetText(parameters, launch.parameters) || !SetText(directory, launch.directory) ||
        !SetText(verb, launch.verb))
        return false;
    show.Get()->vt = VT_I4;
    show.Get()->lVal = launch.showCommand;
    return SUCCEEDED(shell->ShellExecute(file.Get(), parameters.Value(), directory.Value(), verb.Value(),
                                         show.Value()));
}

}  // namespace tv
