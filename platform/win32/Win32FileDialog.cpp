#include "platform/win32/Win32FileDialog.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

namespace tv {

namespace {

// What both dialogs are given the same way: the one filter entry, the
// file-name buffer and the flags.
class DialogRecord {
public:
    DialogRecord(const std::string& filterName, const std::string& filterPattern,
                 unsigned bufferSize, const std::string& initialName)
        : file_(bufferSize < 2 ? 2 : bufferSize, '\0') {
        // Description and pattern, each NUL-terminated, then the list's end.
        filter_ = filterName;
        filter_ += '\0';
        filter_ += filterPattern;
        filter_ += '\0';
        initialName.copy(file_.data(), file_.size() - 1);
        dialog_.lStructSize = sizeof(dialog_);
        dialog_.hInstance = GetModuleHandleA(nullptr);
        dialog_.lpstrFilter = filter_.c_str();  // std::string adds the final NUL
        dialog_.nFilterIndex = 1;
        dialog_.lpstrFile = file_.data();
        dialog_.nMaxFile = static_cast<DWORD>(file_.size());
    }

    OPENFILENAMEA& Dialog() { return dialog_; }

    // The dialog would otherwise leave the process in the chosen file's
    // folder, a folder the user may write; relative loads must never look
    // there.
    void SetFlags(unsigned long flags) { dialog_.Flags = flags | OFN_NOCHANGEDIR; }

    // What the user chose, once the dialog said yes.
    bool Chosen(std::string* path) {
        file_.back() = '\0';
        *path = file_.data();
        return !path->empty();
    }

private:
    std::string filter_;
    std::vector<char> file_;
    OPENFILENAMEA dialog_{};
};

}  // namespace

bool Win32FileDialog::ChooseFile(const OpenFileRequest& request, std::string* path) {
    DialogRecord record(request.filterName, request.filterPattern, request.bufferSize, {});
    OPENFILENAMEA& dialog = record.Dialog();
    dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    dialog.lpstrInitialDir = request.initialFolder.c_str();
    dialog.lpstrTitle = request.title.c_str();
    record.SetFlags(request.flags);
    // A choice longer than the buffer fails here instead of being cut.
    if (!GetOpenFileNameA(&dialog)) return false;
    return record.Chosen(path);
}

bool Win32FileDialog::ChooseSaveFile(const SaveFileRequest& request, std::string* path) {
    DialogRecord record(request.filterName, request.filterPattern, request.bufferSize,
                        request.fileName);
    OPENFILENAMEA& dialog = record.Dialog();
    dialog.hwndOwner = reinterpret_cast<HWND>(request.owner);
    dialog.lpstrTitle = request.title.c_str();
    dialog.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    record.SetFlags(request.flags);
    if (!GetSaveFileNameA(&dialog)) return false;
    return record.Chosen(path);
}

}  // namespace tv
