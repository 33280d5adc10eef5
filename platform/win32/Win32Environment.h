#pragma once

#include "platform/Environment.h"

namespace tv {

// GetWindowsDirectoryA, GetSystemDirectoryA, SHGetFolderPathA and (for the
// common application data folder) SHGetFolderPathW, the
// machine's ProgramFilesDir (64-bit view),
// CreateEnvironmentBlock without a user, GetEnvironmentVariableA, Sleep.
class Win32Environment : public Environment {
public:
    std::string WindowsDirectory() const override;
    std::string SystemDirectory() const override;
    std::string CommonAppDataFolder() const override;
    std::string ProfileFolder() const override;
    std::string CommonStartupFolder() const override;
    std::string ProgramFilesFolder() const override;
    std::vector<std::string> ProgramFilesFolders() const override;
    bool SystemVariables(std::vector<std::u16string>* variables) const override;
    bool Variable(const std::string& name, std::string* value) const override;
    void Wait(unsigned milliseconds) override;
};

}  // namespace tv
