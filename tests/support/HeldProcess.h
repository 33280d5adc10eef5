// Every thread of another process held still for the object's lifetime: a
// desktop shell that is there but answers nobody, as one does right after a
// fresh start.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "platform/win32/ScopedHandle.h"

namespace tv::testing {

class HeldProcess {
public:
    explicit HeldProcess(DWORD id) {
        ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
        if (!snapshot) return;
        THREADENTRY32 entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Thread32First(snapshot.Get(), &entry); more;
             more = Thread32Next(snapshot.Get(), &entry)) {
            if (entry.th32OwnerProcessID != id) continue;
            ScopedHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
            if (thread && SuspendThread(thread.Get()) != static_cast<DWORD>(-1))
                threads_.push_back(std::move(thread));
        }
    }
    ~HeldProcess() {
        for (ScopedHandle& thread : threads_) ResumeThread(thread.Get());
    }
    HeldProcess(const HeldProcess&) = delete;
    HeldProcess& operator=(const HeldProcess&) = delete;
    size_t Threads() const { return threads_.size(); }

private:
    std::vector<ScopedHandle> threads_;
};

// The first process of that name (lower case, "explorer.exe"), or 0.
inline DWORD ProcessNamed(const std::string& name) {
    ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.Get(), &entry); more;
         more = Process32Next(snapshot.Get(), &entry)) {
        std::string seen = entry.szExeFile;
        for (char& c : seen)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (seen == name) return entry.th32ProcessID;
    }
    return 0;
}

}  // namespace tv::testing
