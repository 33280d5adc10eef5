// An in-memory process table: tests set up any processes with their modules,
// image paths (the kernel's and the process's own), memory, times, accounts
// and windows, make any step fail, and read back which processes were ended
// and which handles are open.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ProcessTable.h"

namespace tv {

class FakeProcessTable : public ProcessTable {
public:
    struct Process {
        ProcessEntry entry;
        bool canOpen = true;  // OpenProcess with full access succeeds
        bool canQuery = true; // OpenProcess for query succeeds
        // The kernel's record of the image file; empty: the call is
        // missing (before Vista) or fails.
        std::string kernelPath;
        // What the process's own memory claims as its main module, which
        // the process may have forged; empty: GetModuleFileNameEx fails.
        std::string memoryPath;
        std::optional<ProcessMemory> memory;
        std::optional<LocalTime> created;
        std::string domain, account;  // empty account: the lookup fails
        bool window = false;
        bool modulesListable = true;
        std::vector<ModuleEntry> modules;
        bool canTerminate = true;
        std::optional<std::uint32_t> exitCode;  // set once ended
    };

    // Adds a process at the end of the snapshot order.
    Process& Add(std::uint32_t id, const std::string& exeFile, std::uint32_t parentId = 0);
    Process* Find(std::uint32_t id);
    const std::vector<Process>& Processes() const { return processes_; }

    bool snapshotFails = false;
    // Processes ended with TerminateProcess, in order, and the codes given.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> terminated;
    int OpenHandles() const { return static_cast<int>(handles_.size()); }

    bool ListProcesses(std::vector<ProcessEntry>* processes) override;
    bool ListModules(std::uint32_t id, std::vector<ModuleEntry>* modules) override;
    ProcessHandle Open(std::uint32_t id, std::uint32_t access) override;
    bool KernelImagePath(ProcessHandle process, std::string* path) override;
    bool ModuleImagePath(ProcessHandle process, std::string* path) override;
    bool Memory(ProcessHandle process, ProcessMemory* memory) override;
    bool CreationTime(ProcessHandle process, LocalTime* time) override;
    bool Terminate(ProcessHandle process, std::uint32_t exitCode) override;
    void Close(ProcessHandle process) override;
    bool OwnerAccount(std::uint32_t id, std::string* domain, std::string* name) override;
    bool OwnsTopLevelWindow(std::uint32_t id) override;

private:
    Process* Opened(ProcessHandle handle);

    std::vector<Process> processes_;
    std::map<ProcessHandle, std::uint32_t> handles_;
    ProcessHandle next_ = 0x200;
};

}  // namespace tv
