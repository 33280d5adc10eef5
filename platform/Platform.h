// The platform services the program's logic is given. The real program hands
// out the Win32 adapters; tests hand out in-memory fakes.
#pragma once

namespace tv {

class Clock;
class Drives;
class Environment;
class FileSystem;
class Prompter;
class Registry;
class Shell;
class ShellLinks;
class VersionResources;
class Tokens;
class ServiceDatabase;
class ProcessTable;
class SystemFiles;

struct Platform {
    Registry* registry = nullptr;
    Clock* clock = nullptr;
    Shell* shell = nullptr;
    FileSystem* files = nullptr;
    Drives* drives = nullptr;
    Environment* environment = nullptr;
    Prompter* prompter = nullptr;
    ShellLinks* links = nullptr;
    VersionResources* versions = nullptr;
    Tokens* tokens = nullptr;
    ServiceDatabase* services = nullptr;
    ProcessTable* processes = nullptr;
    SystemFiles* systemFiles = nullptr;
};

}  // namespace tv
