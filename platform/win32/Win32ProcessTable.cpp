#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include "platform/win32/Win32ProcessTable.h"

#include <algorithm>
#include <vector>

#include "platform/win32/ScopedHandle.h"

namespace tv {

namespace {

HANDLE Raw(ProcessHandle handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

bool ToLocalTime(const FILETIME& time, LocalTime* local) {
    SYSTEMTIME utc{}, zoned{};
    if (!FileTimeToSystemTime(&time, &utc)) return false;
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &zoned)) return false;
    *local = {zoned.wYear, zoned.wMonth, zoned.wDay, zoned.wHour, zoned.wMinute, zoned.wSecond};
    return true;
}

bool Win32ProcessTable::ListProcesses(std::vector<ProcessEntry>* processes) {
    processes->clear();
    windowOwnersKnown_ = false;
    ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    if (!Process32First(snapshot.Get(), &entry)) return false;
    do {
        ProcessEntry row;
        row.id = entry.th32ProcessID;
        row.parentId = entry.th32ParentProcessID;
        row.threads = entry.cntThreads;
        row.basePriority = entry.pcPriClassBase;
        row.exeFile = entry.szExeFile;
        processes->push_back(row);
        entry.dwSize = sizeof(entry);
    } while (Process32Next(snapshot.Get(), &entry));
    return true;
}

bool Win32ProcessTable::ListModules(std::uint32_t id, std::vector<ModuleEntry>* modules) {
    modules->clear();
    // A 64-bit build lists a 32-bit process's own modules too, so the list
    // is whole. A 32-bit build cannot read a 64-bit process: the snapshot
    // fails and nothing is listed rather than a part.
    const DWORD kinds = sizeof(void*) == 8 ? TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32 : TH32CS_SNAPMODULE;
    ScopedHandle snapshot(CreateToolhelp32Snapshot(kinds, id));
    if (!snapshot) return false;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    if (!Module32First(snapshot.Get(), &entry)) return false;
    do {
        modules->push_back({entry.szModule, entry.szExePath});
        entry.dwSize = sizeof(entry);
    } while (Module32Next(snapshot.Get(), &entry));
    return true;
}

ProcessHandle Win32ProcessTable::Open(std::uint32_t id, std::uint32_t access) {
    return reinterpret_cast<ProcessHandle>(OpenProcess(access, FALSE, id));
}

namespace {

// Buffer sizes tried in turn until a path fits: an ANSI path may take two
// bytes for each of the 32,767 UTF-16 units a path can have.
constexpr DWORD kPathSizes[] = {MAX_PATH, 4096, 65536};

}  // namespace

bool Win32ProcessTable::KernelImagePath(ProcessHandle process, std::string* path) {
    // Looked up at run time: systems before Vista lack it.
    using QueryFn = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    static const QueryFn query = [] {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        return kernel ? reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
                            GetProcAddress(kernel, "QueryFullProcessImageNameA")))
                      : nullptr;
    }();
    if (query == nullptr) return false;
    for (DWORD size : kPathSizes) {
        std::vector<char> buffer(size);
        DWORD length = size;
        // Flags 0: the Win32 form ("C:\..."), not the device form.
        if (query(Raw(process), 0, buffer.data(), &length)) {
            path->assign(buffer.data(), std::min<DWORD>(length, size - 1));
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    }
    return false;
}

bool Win32ProcessTable::ModuleImagePath(ProcessHandle process, std::string* path) {
    for (DWORD size : kPathSizes) {
        std::vector<char> buffer(size);
        DWORD length = GetModuleFileNameExA(Raw(process), nullptr, buffer.data(), size);
        if (length == 0) return false;
        // A cut path fills the buffer (some systems leave no terminator).
        if (length < size - 1) {
            path->assign(buffer.data(), length);
            return true;
        }
    }
    return false;
}

bool Win32ProcessTable::Memory(ProcessHandle process, ProcessMemory* memory) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(Raw(process), &counters, sizeof(counters))) return false;
    memory->workingSet = counters.WorkingSetSize;
    memory->pagefileUsage = counters.PagefileUsage;
    return true;
}

bool Win32ProcessTable::CreationTime(ProcessHandle process, LocalTime* time) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(Raw(process), &created, &exited, &kernel, &user)) return false;
    return ToLocalTime(created, time);
}

bool Win32ProcessTable::Terminate(ProcessHandle process, std::uint32_t exitCode) {
    return TerminateProcess(Raw(process), exitCode) != 0;
}

void Win32ProcessTable::Close(ProcessHandle process) {
    if (process != 0) CloseHandle(Raw(process));
}

bool Win32ProcessTable::OwnerAccount(std::uint32_t id, std::string* domain, std::string* name) {
    ScopedHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id));
    if (!process) return false;
    HANDLE raw = nullptr;
    if (!OpenProcessToken(process.Get(), TOKEN_READ, &raw)) return false;
    ScopedHandle token(raw);
    std::vector<BYTE> user(1024);
    DWORD needed = 0;
    if (!GetTokenInformation(token.Get(), TokenUser, user.data(), static_cast<DWORD>(user.size()),
                             &needed)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= user.size()) return false;
        user.assign(needed, 0);
        if (!GetTokenInformation(token.Get(), TokenUser, user.data(), needed, &needed))
            return false;
    }
    PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    if (!IsValidSid(sid)) return false;
    const std::string key(static_cast<const char*>(sid), GetLengthSid(sid));
    auto known = accounts_.find(key);
    if (known != accounts_.end()) {
        *domain = known->second.first;
        *name = known->second.second;
        return true;
    }
    std::vector<char> account(100), realm(100);
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD accountSize = static_cast<DWORD>(account.size());
        DWORD realmSize = static_cast<DWORD>(realm.size());
        SID_NAME_USE use{};
        if (LookupAccountSidA(nullptr, sid, account.data(), &accountSize, realm.data(), &realmSize,
                              &use)) {
            *name = account.data();
            *domain = realm.data();
            accounts_[key] = {*domain, *name};
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        account.assign(accountSize + 1, 0);
        realm.assign(realmSize + 1, 0);
    }
    return false;
}

bool Win32ProcessTable::OwnsTopLevelWindow(std::uint32_t id) {
    if (!windowOwnersKnown_) {
        windowOwners_.clear();
        EnumWindows(
            [](HWND window, LPARAM data) CALLBACK -> BOOL {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                reinterpret_cast<std::set<std::uint32_t>*>(data)->insert(owner);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&windowOwners_));
        windowOwnersKnown_ = true;
    }
    return windowOwners_.count(id) != 0;
}

}  // namespace tv
