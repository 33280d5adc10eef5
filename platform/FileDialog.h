// The system's open-file dialog.
#pragma once

#include <string>

namespace tv {

// OPENFILENAME flags, with the Win32 values.
constexpr unsigned long kOfnHideReadOnly = 0x4;
constexpr unsigned long kOfnFileMustExist = 0x1000;

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

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // Shows the dialog without an owner. False when the user cancels or the
    // dialog fails; otherwise the chosen path.
    virtual bool ChooseFile(const OpenFileRequest& request, std::string* path) = 0;
};

}  // namespace tv
