#include "controls/win32/HandStatic.h"

namespace tv {

LRESULT CHandStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // IDC_HAND
        return TRUE;
    }
    return Default(message, wParam, lParam);
}

}  // namespace tv
