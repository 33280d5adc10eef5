#include "platform/win32/Win32FileDialog.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

namespace tv {

bool Win32FileDialog::ChooseFile(const OpenFileRequest& request, std::string* path) {
    // Description and pattern, each NUL-terminated, then the list's end.
    std::string filter = request.filterName;
    filter += '\0';
    filter += request.filterPattern;
    filter += '\0';
    std::vector<char> file(request.bufferSize < 2 ? 2 : request.bufferSize, '\0');

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = nullptr;
    dialog.hInstance = GetModuleHandleA(nullptr);
    dialog.lpstrFilter = filter.c_str();  // std::string adds the final NUL
    dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = request.initialFolder.c_str();
    dialog.lpstrTitle = request.title.c_str();
    // The dialog would otherwise leave the process in the chosen file's
    // folder, a folder the user may write; relative loads must never look
    // there.
    dialog.Flags = request.flags | OFN_NOCHANGEDIR;
    // A choice longer than the buffer fails here instead of being cut.
    if (!GetOpenFileNameA(&dialog)) return false;
    file.back() = '\0';
    *path = file.data();
    return !path->empty();
}

}  // namespace tv
