// File protection through sfc.dll (loaded at run time: there is no import
// library) and file stamps through an opened file.
#pragma once

#include <windows.h>

#include "platform/SystemFiles.h"

namespace tv {

class Win32SystemFiles : public SystemFiles {
public:
    Win32SystemFiles();
    ~Win32SystemFiles() override;
    Win32SystemFiles(const Win32SystemFiles&) = delete;
    Win32SystemFiles& operator=(const Win32SystemFiles&) = delete;

    bool IsProtected(const std::string& path) override;
    bool ReadStamps(const std::string& path, FileStamps* stamps) override;

private:
    using IsFileProtected = BOOL(WINAPI*)(HANDLE, LPCWSTR);
    HMODULE library_ = nullptr;
    IsFileProtected isProtected_ = nullptr;
};

}  // namespace tv
