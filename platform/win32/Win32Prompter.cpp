#include "platform/win32/Win32Prompter.h"

#include <windows.h>

#include "platform/ui/MessageBox.h"

namespace tv {

int Win32Prompter::Ask(const Prompt& prompt) {
    std::string caption = prompt.caption.empty() ? ui::ApplicationTitle() : prompt.caption;
    MSGBOXPARAMSA params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = GetActiveWindow();
    params.hInstance = GetModuleHandleA(nullptr);
    params.lpszText = prompt.text.c_str();
    params.lpszCaption = caption.c_str();
    params.dwStyle = prompt.type;
    if ((prompt.type & MB_USERICON) != 0)
        params.lpszIcon = MAKEINTRESOURCEA(prompt.iconId);
    return MessageBoxIndirectA(&params);
}

}  // namespace tv
