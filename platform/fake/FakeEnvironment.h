// Directories and environment variables a test chooses; waits are counted,
// not slept.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Environment.h"

namespace tv {

class FakeEnvironment : public Environment {
public:
    std::string windowsDirectory = "C:\\Windows";
    std::string systemDirectory = "C:\\Windows\\system32";
    std::string commonAppDataFolder = "C:\\ProgramData";
    std::string profileFolder = "C:\\Users\\test";
    std::string commonStartupFolder =
        "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
    std::string programFilesFolder = "C:\\Program Files";
    std::vector<std::string> programFilesFolders = {"C:\\Program Files"};
    std::map<std::string, std::string> variables;  // exact names
    // What SystemVariables gives; unset: it fails.
    std::optional<std::vector<std::u16string>> systemVariables =
        std::vector<std::u16string>{u"SystemRoot=C:\\Windows", u"Path=C:\\Windows\\system32;C:\\Windows"};
    std::vector<unsigned> waits;

    std::string WindowsDirectory() const override { return windowsDirectory; }
    std::string SystemDirectory() const override { return systemDirectory; }
    std::string CommonAppDataFolder() const override { return commonAppDataFolder; }
    std::string ProfileFolder() const override { return profileFolder; }
    std::string CommonStartupFolder() const override { return commonStartupFolder; }
    std::string ProgramFilesFolder() const override { return programFilesFolder; }
    std::vector<std::string> ProgramFilesFolders() const override { return programFilesFolders; }
    bool SystemVariables(std::vector<std::u16string>* out) const override {
        if (!systemVariables) return false;
        *out = *systemVariables;
        return true;
    }
    bool Variable(const std::string& name, std::string* value) const override {
        auto it = variables.find(name);
        if (it == variables.end()) return false;
        *value = it->second;
        return true;
    }
    void Wait(unsigned milliseconds) override { waits.push_back(milliseconds); }
};

}  // namespace tv
