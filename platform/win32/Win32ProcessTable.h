// Processes through tool-help snapshots, psapi, tokens and window
// enumeration.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/ProcessTable.h"

namespace tv {

class Win32ProcessTable : public ProcessTable {
public:
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
    // Account names by SID (as its bytes): looking one up is slow, and
    // most processes share a few accounts.
    std::map<std::string, std::pair<std::string, std::string>> accounts_;
    // The processes owning a top-level window, gathered once per process
    // list (on the first question after ListProcesses).
    std::set<std::uint32_t> windowOwners_;
    bool windowOwnersKnown_ = false;
};

// FILETIME (UTC) to local time through the current time zone.
bool ToLocalTime(const FILETIME& time, LocalTime* local);

}  // namespace tv
