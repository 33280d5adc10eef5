// Running processes: tool-help snapshots of processes and of one process's
// modules, what an opened process tells about itself, ending a process, and
// whether a process owns a top-level window. Handles are numbers the
// implementation hands out; ScopedProcess closes them on every path.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/UniqueHandle.h"

namespace tv {

using ProcessHandle = std::uintptr_t;

// All access rights as defined before Windows Vista, and the query right.
constexpr std::uint32_t kProcessAllAccessLegacy = 0x1F0FFF;
constexpr std::uint32_t kProcessQueryInformation = 0x0400;

struct ProcessEntry {
    std::uint32_t id = 0;
    std::uint32_t parentId = 0;
    std::uint32_t threads = 0;
    std::int32_t basePriority = 8;  // pcPriClassBase
    std::string exeFile;            // szExeFile: the file name
};

struct ModuleEntry {
    std::string name;  // szModule
    std::string path;  // szExePath
};

// A moment in local time, as SYSTEMTIME has it.
struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct ProcessMemory {
    std::uint64_t workingSet = 0;
    std::uint64_t pagefileUsage = 0;
};

class ProcessTable {
public:
    virtual ~ProcessTable() = default;

    // Every process in snapshot order. False when no snapshot can be taken
    // or its first entry cannot be read.
    virtual bool ListProcesses(std::vector<ProcessEntry>* processes) = 0;
    // The modules loaded in process `id`, in snapshot order. False when the
    // first entry cannot be read.
    virtual bool ListModules(std::uint32_t id, std::vector<ModuleEntry>* modules) = 0;

    // OpenProcess without inheritance; 0 on failure.
    virtual ProcessHandle Open(std::uint32_t id, std::uint32_t access) = 0;
    // The image file the kernel made the process from, in Win32 form
    // (QueryFullProcessImageNameA, flags 0). False where the system lacks
    // the call (before Vista) or it fails.
    virtual bool KernelImagePath(ProcessHandle process, std::string* path) = 0;
    // The main module's path as the process's own memory records it
    // (GetModuleFileNameExA). The process can rewrite that record, so it
    // is only a fallback; a process of the other bitness cannot be read.
    virtual bool ModuleImagePath(ProcessHandle process, std::string* path) = 0;
    // GetProcessMemoryInfo.
    virtual bool Memory(ProcessHandle process, ProcessMemory* memory) = 0;
    // GetProcessTimes: the creation time, in local time.
    virtual bool CreationTime(ProcessHandle process, LocalTime* time) = 0;
    // TerminateProcess.
    virtual bool Terminate(ProcessHandle process, std::uint32_t exitCode) = 0;
    virtual void Close(ProcessHandle process) = 0;

    // The account of the process's token (opened for query), as domain and
    // name. False when any step fails.
    virtual bool OwnerAccount(std::uint32_t id, std::string* domain, std::string* name) = 0;
    // Whether any top-level window, visible or not, belongs to process `id`.
    // The windows may be looked at once per ListProcesses.
    virtual bool OwnsTopLevelWindow(std::uint32_t id) = 0;
};

// Owns an opened process.
using ScopedProcess = SeamHandle<ProcessTable, ProcessHandle, &ProcessTable::Close>;

}  // namespace tv
