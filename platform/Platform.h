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

// A service the program's logic is given: held like a reference, so never
// null, yet a test may hand out another in its place.
template <typename T>
class Uses {
public:
    Uses(T& service) : service_(&service) {}  // NOLINT: binds as a reference does
    T* operator->() const { return service_; }
    T& operator*() const { return *service_; }

private:
    T* service_;
};

// Every service, always: both composition roots fill each one.
struct Platform {
    Uses<Registry> registry;
    Uses<Clock> clock;
    Uses<Shell> shell;
    Uses<FileSystem> files;
    Uses<Drives> drives;
    Uses<Environment> environment;
    Uses<Prompter> prompter;
    Uses<SystemProbe> system;
    Uses<Wmi> wmi;
    Uses<ServiceControl> services;
    Uses<DisplaySettings> display;
    Uses<FileDialog> fileDialog;
    Uses<DesktopShell> desktop;
    Uses<WorkerThreads> workers;
    Uses<ShellLinks> links;
    Uses<VersionResources> versions;
    Uses<Tokens> tokens;
    Uses<ServiceDatabase> serviceDatabase;
    Uses<ProcessTable> processes;
    Uses<SystemFiles> systemFiles;
    // Between the ANSI code page and UTF-16 (restore files are UTF-16).
    Uses<TextCodec> codec;
    // Registered scheduled tasks.
    Uses<TaskScheduler> tasks;
    // Files' digital signatures.
    Uses<TrustVerifier> trust;
};

}  // namespace tv
