#include "platform/ui/Dialog.h"

#include <commctrl.h>

namespace tv::ui {

namespace {
HWND CreateFromTemplate(Dialog* dialog, int templateId, HWND parent, DLGPROC procedure) {
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), parent,
                              procedure, reinterpret_cast<LPARAM>(dialog));
}
}  // namespace

Dialog::~Dialog() { DestroyWindow(); }

bool Dialog::Create(HWND parent) {
    if (hwnd_) return false;
    modal_ = false;
    return CreateFromTemplate(this, templateId_, parent, &Dialog::DialogProc) != nullptr;
}

INT_PTR Dialog::DoModal(HWND owner) {
    if (hwnd_) return -1;
    modal_ = true;
    ending_ = false;
    result_ = IDCANCEL;
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    HWND window = CreateFromTemplate(this, templateId_, owner, &Dialog::DialogProc);
    if (!window) {
        if (ownerWasEnabled) EnableWindow(owner, TRUE);
        modal_ = false;
        return -1;
    }
    if (!ending_ && !IsWindowVisible(window)) ShowWindow(window, SW_SHOWNORMAL);

    MSG message;
    // Also ends if the window is destroyed behind the loop's back.
    while (!ending_ && hwnd_) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            // Leave WM_QUIT for the caller's loop, as the system's modal loops do.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) break;
        if (PreTranslateTree(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    DestroyWindow();
    modal_ = false;
    return result_;
}

void Dialog::EndDialog(INT_PTR result) {
    result_ = result;
    if (!modal_) return;
    ending_ = true;
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
    PostMessageA(hwnd_, WM_NULL, 0, 0);  // wake the loop
}

bool Dialog::PreTranslateTree(MSG& message) {
    if (!hwnd_ || !message.hwnd) return false;
    if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)) return false;
    for (HWND window = message.hwnd; window; window = GetParent(window)) {
        if (auto* dialog = dynamic_cast<Dialog*>(FromHandle(window))) {
            if (dialog->PreTranslateMessage(message)) return true;
        }
        if (window == hwnd_) break;
    }
    return false;
}

bool Dialog::PreTranslateMessage(MSG& message) {
    // Keyboard navigation among the dialog's controls.
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST)
        return IsDialogMessageA(hwnd_, &message) != 0;
    return false;
}

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::OnInitDialog() {
    DataExchange exchange(hwnd_);
    DoDataExchange(exchange);
    return true;
}

bool Dialog::OnCommand(int, int, HWND) { return false; }

bool Dialog::OnNotify(const NMHDR&, LRESULT*) { return false; }

HBRUSH Dialog::OnCtlColor(HDC dc, HWND control, UINT message) {
    // Left to the control itself, as a reflected request.
    Window* object = control != hwnd_ ? FromHandle(control) : nullptr;
    return object ? object->OnReflectedCtlColor(dc, message) : nullptr;
}

void Dialog::OnDestroy() {}

void Dialog::OnOK() {
    if (modal_) EndDialog(IDOK);
}

void Dialog::OnCancel() {
    if (modal_) EndDialog(IDCANCEL);
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->AttachHandle(window);
    } else {
        self = dynamic_cast<Dialog*>(FromHandle(window));
    }
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
        self->DetachHandle();
        return FALSE;
    }
    // An exception must not cross the system's code back to the message
    // loop: the message simply counts as not handled.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        // Laid out for the screen before any page measures its controls.
        LayOutDialogForDpi(hwnd_, templateId_, dpiImages_);
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        int code = HIWORD(wParam);
        Window* control = lParam ? FromHandle(reinterpret_cast<HWND>(lParam)) : nullptr;
        if (control && control != this && control->OnReflectedCommand(code)) return TRUE;
        if (OnCommand(id, code, reinterpret_cast<HWND>(lParam))) return TRUE;
        if (code == BN_CLICKED || lParam == 0) {
            if (id == IDOK) {
                OnOK();
                return TRUE;
            }
            if (id == IDCANCEL) {
                OnCancel();
                return TRUE;
            }
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (!OnNotify(header, &result)) return FALSE;
        // A list's request for a cell's text has no result, and comes once
        // per cell drawn: storing one would cost a window-server call each.
        if (header.code != LVN_GETDISPINFOA && header.code != LVN_GETDISPINFOW)
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        Window* control = FromHandle(item->hwndItem);
        return control && control->OnDrawItem(*item) ? TRUE : FALSE;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        HWND control = message == WM_CTLCOLORDLG ? hwnd_ : reinterpret_cast<HWND>(lParam);
        // Returned directly: a dialog procedure answers colour requests
        // with the brush itself.
        return reinterpret_cast<INT_PTR>(
            OnCtlColor(reinterpret_cast<HDC>(wParam), control, message));
    }
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default: {
        LRESULT result = 0;
        if (!OnMessage(message, wParam, lParam, &result)) return FALSE;
        switch (message) {
        case WM_QUERYDRAGICON:
        case WM_CHARTOITEM:
        case WM_VKEYTOITEM:
        case WM_COMPAREITEM:
            return static_cast<INT_PTR>(result);
        default:
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
    }
}

}  // namespace tv::ui
