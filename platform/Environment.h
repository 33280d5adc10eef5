// The system's directories and the process environment.
#pragma once

#include <string>
#include <vector>

namespace tv {

class Environment {
public:
    virtual ~Environment() = default;
    // GetWindowsDirectory / GetSystemDirectory, no trailing backslash; empty
    // when the platform gives none.
    virtual std::string WindowsDirectory() const = 0;
    virtual std::string SystemDirectory() const = 0;
    // The application data folder of all users (SHGetFolderPath,
    // CSIDL_COMMON_APPDATA: the machine's setting, never the user's or the
    // environment's), no trailing backslash; empty when the platform gives
    // none or the code page cannot spell it.
    virtual std::string CommonAppDataFolder() const = 0;
    // The user's profile folder, as the system records it for the user
    // (not from anything the user's programs can change); empty when none.
    virtual std::string ProfileFolder() const = 0;
    // The startup folder of all users, as the system gives it; empty when
    // none.
    virtual std::string CommonStartupFolder() const = 0;
    // The system's program-files folder as the shell knows it, no trailing
    // backslash; empty when the platform gives none. Never the "ProgramFiles"
    // variable, which whoever starts the program can set.
    virtual std::string ProgramFilesFolder() const = 0;
    // The system's Program Files folders, no trailing backslash, each once:
    // the shell's program files folder, and on 64-bit Windows both the
    // 64-bit and the 32-bit one. Taken from the system, never from the
    // environment or the user's settings; empty when the platform gives
    // none.
    virtual std::vector<std::string> ProgramFilesFolders() const = 0;
    // The system's own variables, each "NAME=value", as Windows gives them
    // to a program started for no user: the machine's settings, none the
    // user's programs can set (HKCU\Environment). False when the platform
    // gives none.
    virtual bool SystemVariables(std::vector<std::u16string>* variables) const = 0;
    // GetEnvironmentVariable; false when the variable is not set.
    virtual bool Variable(const std::string& name, std::string* value) const = 0;
    // Sleep: the waits some operations make before they go on.
    virtual void Wait(unsigned milliseconds) = 0;
};

}  // namespace tv
