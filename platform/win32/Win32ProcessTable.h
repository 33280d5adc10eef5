// Processes through tool-help snapshots, psapi, tokens and window
// enumeration.
#pragma once

#include "platform/ProcessTable.h"

namespace tv {

class Win32ProcessTable : public ProcessTable {
public:
    bool ListProcesses(std::vector<ProcessEntry>* processes) override;
    bool ListModules(std::uint32_t id, std::vector<ModuleEntry>* modules) override;
    ProcessHandle Open(std::uint32_t id, std::uint32_t access) override;
    bool ImagePath(ProcessHandle process, std::string* path) override;
    bool Memory(ProcessHandle process, ProcessMemory* memory) override;
    bool CreationTime(ProcessHandle process, LocalTime* time) override;
    bool Terminate(ProcessHandle process, std::uint32_t exitCode) override;
    void Close(ProcessHandle process) override;
    bool OwnerAccount(std::uint32_t id, std::string* domain, std::string* name) override;
    bool OwnsTopLevelWindow(std::uint32_t id) override;
};

// FILETIME (UTC) to local time through the current time zone.
bool ToLocalTime(const FILETIME& time, LocalTime* local);

}  // namespace tv
