#include "platform/ui/MessageBox.h"

#include <vector>

#include "platform/ExecutableName.h"

namespace tv::ui {

std::string ApplicationTitle() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return ProgramTitleFromPath(std::string(path.data(), length));
        path.resize(path.size() * 2);
    }
}

int ShowMessage(HWND owner, const std::string& text, const char* caption, UINT type) {
    std::string title = caption ? std::string(caption) : ApplicationTitle();
    return MessageBoxA(owner, text.c_str(), title.c_str(), type);
}

int ShowMessageWithIcon(HWND owner, const std::string& text, const std::string& caption,
                        int iconId, UINT type) {
    MSGBOXPARAMSA params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = owner;
    params.hInstance = GetModuleHandleA(nullptr);
    params.lpszText = text.c_str();
    params.lpszCaption = caption.c_str();
    params.dwStyle = type | MB_USERICON;
    params.lpszIcon = MAKEINTRESOURCEA(iconId);
    return MessageBoxIndirectA(&params);
}

}  // namespace tv::ui
