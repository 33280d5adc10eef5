#include "platform/fake/FakeProcessTable.h"

#include <algorithm>

namespace tv {

FakeProcessTable::Process& FakeProcessTable::Add(std::uint32_t id, const std::string& exeFile,
                                                 std::uint32_t parentId) {
    Process process;
    process.entry.id = id;
    process.entry.parentId = parentId;
    process.entry.threads = 1;
    process.entry.exeFile = exeFile;
    processes_.push_back(process);
    return processes_.back();
}

FakeProcessTable::Process* FakeProcessTable::Find(std::uint32_t id) {
    for (auto& process : processes_)
        if (process.entry.id == id) return &process;
    return nullptr;
}

FakeProcessTable::Process* FakeProcessTable::Opened(ProcessHandle handle) {
    auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : Find(it->second);
}

bool FakeProcessTable::ListProcesses(std::vector<ProcessEntry>* processes) {
    processes->clear();
    if (snapshotFails || processes_.empty()) return false;
    for (const auto& process : processes_) processes->push_back(process.entry);
    return true;
}

bool FakeProcessTable::ListModules(std::uint32_t id, std::vector<ModuleEntry>* modules) {
    modules->clear();
    Process* process = Find(id);
    if (!process || !process->modulesListable || process->modules.empty()) return false;
    *modules = process->modules;
    return true;
}

ProcessHandle FakeProcessTable::Open(std::uint32_t id, std::uint32_t access) {
    Process* process = id == 0 ? nullptr : Find(id);
    if (!process) return 0;
    bool allowed = access == kProcessQueryInformation ? process->canQuery : process->canOpen;
    if (!allowed) return 0;
    ProcessHandle handle = next_++;
    handles_[handle] = id;
    return handle;
}

bool FakeProcessTable::KernelImagePath(ProcessHandle handle, std::string* path) {
    Process* process = Opened(handle);
    if (!process || process->kernelPath.empty()) return false;
    *path = process->kernelPath;
    return true;
}

bool FakeProcessTable::ModuleImagePath(ProcessHandle handle, std::string* path) {
    Process* process = Opened(handle);
    if (!process || process->memoryPath.empty()) return false;
    *path = process->memoryPath;
    return true;
}

bool FakeProcessTable::Memory(ProcessHandle handle, ProcessMemory* memory) {
    Process* process = Opened(handle);
    if (!process || !process->memory) return false;
    *memory = *process->memory;
    return true;
}

bool FakeProcessTable::CreationTime(ProcessHandle handle, LocalTime* time) {
    Process* process = Opened(handle);
    if (!process || !process->created) return false;
    *time = *process->created;
    return true;
}

bool FakeProcessTable::Terminate(ProcessHandle handle, std::uint32_t exitCode) {
    auto it = handles_.find(handle);
    if (it == handles_.end()) return false;
    std::uint32_t id = it->second;
    Process* process = Find(id);
    if (!process || !process->canTerminate) return false;
    terminated.emplace_back(id, exitCode);
    processes_.erase(std::remove_if(processes_.begin(), processes_.end(),
                                    [id](const Process& p) { return p.entry.id == id; }),
                     processes_.end());
    return true;
}

void FakeProcessTable::Close(ProcessHandle handle) { handles_.erase(handle); }

bool FakeProcessTable::OwnerAccount(std::uint32_t id, std::string* domain, std::string* name) {
    Process* process = id == 0 ? nullptr : Find(id);
    if (!process || !process->canQuery || process->account.empty()) return false;
    *domain = process->domain;
    *name = process->account;
    return true;
}

bool FakeProcessTable::OwnsTopLevelWindow(std::uint32_t id) {
    Process* process = Find(id);
    return process && process->window;
}

}  // namespace tv
