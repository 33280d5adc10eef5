// FileDialog over GetOpenFileName and GetSaveFileName.
#pragma once

#include "platform/FileDialog.h"

namespace tv {

class Win32FileDialog : public FileDialog {
public:
    bool ChooseFile(const OpenFileRequest& request, std::string* path) override;
    bool ChooseSaveFile(const SaveFileRequest& request, std::string* path) override;
};

}  // namespace tv
