// FileDialog over GetOpenFileName.
#pragma once

#include "platform/FileDialog.h"

namespace tv {

class Win32FileDialog : public FileDialog {
public:
    bool ChooseFile(const OpenFileRequest& request, std::string* path) override;
};

}  // namespace tv
