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
class SystemProbe;
class Wmi;
class ServiceControl;
class DisplaySettings;
class FileDialog;
class DesktopShell;
class WorkerThreads;
class ShellLinks;
class VersionResources;
class Tokens;
class ServiceDatabase;
class ProcessTable;
class SystemFiles;
class TextCodec;
class TaskScheduler;
class TrustVerifier;

struct Platform {
    Registry* registry = nullptr;
    Clock* clock = nullptr;
    Shell* shell = nullptr;
    FileSystem* files = nullptr;
    Drives* drives = nullptr;
    Environment* environment = nullptr;
    Prompter* prompter = nullptr;
    SystemProbe* system = nullptr;
    Wmi* wmi = nullptr;
    ServiceControl* services = nullptr;
    DisplaySettings* display = nullptr;
    FileDialog* fileDialog = nullptr;
    DesktopShell* desktop = nullptr;
    WorkerThreads* workers = nullptr;
    ShellLinks* links = nullptr;
    VersionResources* versions = nullptr;
    Tokens* tokens = nullptr;
    ServiceDatabase* serviceDatabase = nullptr;
    ProcessTable* processes = nullptr;
    SystemFiles* systemFiles = nullptr;
    // Between the ANSI code page and UTF-16 (restore files are UTF-16).
    TextCodec* codec = nullptr;
    // Registered scheduled tasks; none listed without it.
    TaskScheduler* tasks = nullptr;
    // Files' digital signatures; no signature column without it.
    TrustVerifier* trust = nullptr;
};

}  // namespace tv
