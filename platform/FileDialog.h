// The system's open-file and save-file dialogs.
#pragma once

#include <cstdint>
#include <string>

namespace tv {

// OPENFILENAME flags, with the Win32 values.
constexpr unsigned long kOfnHideReadOnly = 0x4;
constexpr unsigned long kOfnFileMustExist = 0x1000;
constexpr unsigned long kOfnOverwritePrompt = 0x2;
constexpr unsigned long kOfnPathMustExist = 0x800;
constexpr unsigned long kOfnNoReadOnlyReturn = 0x8000;

struct OpenFileRequest {
    // Description and pattern of the one filter entry the dialog offers.
    std::string filterName;
    std::string filterPattern;
    int filterIndex = 1;
    std::string title;
    // Empty: the platform's default folder.
    std::string initialFolder;
    unsigned long flags = 0;
    // Size of the file-name buffer in bytes, its NUL included; a longer
    // choice is refused by the dialog rather than cut.
    unsigned bufferSize = 260;
};

struct SaveFileRequest {
    std::string filterName;
    std::string filterPattern;
    std::string title;
    // The name the dialog offers at first, and the extension it adds to a
    // name typed without one (no dot).
    std::string fileName;
    std::string defaultExtension;
    unsigned long flags = 0;
    unsigned bufferSize = 260;
    // The window the dialog is modal to (an HWND); 0 for none.
    std::uintptr_t owner = 0;
};

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // Shows the dialog without an owner. False when the user cancels or the
    // dialog fails; otherwise the chosen path.
    virtual bool ChooseFile(const OpenFileRequest& request, std::string* path) = 0;
    // The save dialog: false when the user cancels or the dialog fails;
    // otherwise the path to write (with kOfnOverwritePrompt the user has
    // agreed to replace a file already there).
    virtual bool ChooseSaveFile(const SaveFileRequest& request, std::string* path) {
        (void)request;
        (void)path;
        return false;
    }
};

}  // namespace tv
