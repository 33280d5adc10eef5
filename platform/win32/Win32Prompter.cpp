#include "platform/win32/Win32Prompter.h"

#include <windows.h>

#include "platform/ui/MessageBox.h"

namespace tv {

namespace {

int AskOwned(HWND owner, const Prompt& prompt) {
    std::string caption = prompt.caption.empty() ? ui::ApplicationTitle() : prompt.caption;
    MSGBOXPARAMSA params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = owner;
    params.hInstance = GetModuleHandleA(nullptr);
    params.lpszText = prompt.text.c_str();
    params.lpszCaption = caption.c_str();
    params.dwStyle = prompt.type;
    if ((prompt.type & MB_USERICON) != 0)
        params.lpszIcon = MAKEINTRESOURCEA(prompt.iconId);
    return MessageBoxIndirectA(&params);
}

// The thread's first visible top-level window that nobody owns.
HWND MainWindowOfThisThread() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
            if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
            *reinterpret_cast<HWND*>(data) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

int Win32Prompter::Ask(const Prompt& prompt) { return AskOwned(GetActiveWindow(), prompt); }

int Win32NoticePrompter::Ask(const Prompt& prompt) {
    HWND owner = GetActiveWindow();
    if (!owner || !IsWindowVisible(owner)) owner = MainWindowOfThisThread();
    if (!owner) return kIdCancel;
    return AskOwned(owner, prompt);
}

}  // namespace tv
