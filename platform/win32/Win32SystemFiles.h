// File protection through sfc.dll (loaded at run time: there is no import
// library) and file stamps through an opened file.
#pragma once

#include <windows.h>

#include "platform/SystemFiles.h"
#include "platform/win32/ScopedHandle.h"

namespace tv {

class Win32SystemFiles : public SystemFiles {
public:
    Win32SystemFiles();

    bool IsProtected(const std::string& path) override;
    bool ReadStamps(const std::string& path, FileStamps* stamps) override;

private:
    using IsFileProtected = BOOL(WINAPI*)(HANDLE, LPCWSTR);
    LoadedModule library_;
    IsFileProtected isProtected_ = nullptr;
};

}  // namespace tv
