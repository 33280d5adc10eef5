// tvstandin: the least a dialog program of Trimvex's build kind does before
// its window shows - common controls set up, one modal dialog of the main
// window's size and caption, no pages, no data - so the start-up script can
// time Trimvex against it in the same run. Any command ends it.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

namespace {

INT_PTR CALLBACK StandInProc(HWND window, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
    case WM_CLOSE:
        EndDialog(window, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // A template in memory: a visible pop-up of the main window's size in
    // dialog units, with the caption the measuring tool looks for.
    alignas(4) WORD buffer[128] = {};
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(buffer);
    dialog->style = WS_POPUP | WS_VISIBLE | DS_CENTER | DS_MODALFRAME;
    dialog->cdit = 0;
    dialog->cx = 520;
    dialog->cy = 378;
    WORD* tail = reinterpret_cast<WORD*>(dialog + 1);
    *tail++ = 0;  // no menu
    *tail++ = 0;  // the standard dialog class
    const char title[] = "Trimvex 1.1   Build20091025";
    for (size_t i = 0; i < std::strlen(title); ++i) *tail++ = static_cast<WORD>(title[i]);
    *tail++ = 0;
    DialogBoxIndirectParamA(instance, dialog, nullptr, StandInProc, 0);
    return 0;
}
