// Message boxes. Without a caption the box is titled with the program's
// name: its executable's file name without the extension.
#pragma once

#include <windows.h>

#include <string>

namespace tv::ui {

std::string ApplicationTitle();

int ShowMessage(HWND owner, const std::string& text, const char* caption = nullptr,
                UINT type = MB_OK);

// MessageBoxIndirect with one of the program's icons as the box's icon.
int ShowMessageWithIcon(HWND owner, const std::string& text, const std::string& caption,
                        int iconId, UINT type = MB_OK);

}  // namespace tv::ui
