#include "platform/win32/Win32ServiceDatabase.h"
#include "platform/win32/Win32TextCodec.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/UniqueHandle.h"

namespace tv {

namespace {

SC_HANDLE Sc(ScHandle handle) { return reinterpret_cast<SC_HANDLE>(handle); }

// Room for a few services added between asking for the size and reading.
constexpr DWORD kEnumerationSlack = 4096;
constexpr int kEnumerationAttempts = 5;

// Reads a variable-sized block through `query(buffer, size, &needed)`,
// growing the buffer until the whole block fits.
template <typename Query>
bool ReadWhole(std::vector<BYTE>* block, Query query) {
    DWORD size = 4096;
    for (int attempt = 0; attempt < 4; ++attempt) {
        block->assign(size, 0);
        DWORD needed = 0;
        if (query(block->data(), size, &needed)) return true;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= size) return false;
        size = needed;
    }
    return false;
}

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

// The code page's form of a UTF-16 text, as the A-functions would give it.
std::string Narrow(const wchar_t* text) { return text ? AnsiFromWide(text) : std::string(); }

// One listed service: its exact name, and the code page's forms for the list.
ServiceStatusEntry EntryOf(const ENUM_SERVICE_STATUSW& listed) {
    ServiceStatusEntry entry;
    entry.name = EntryName(Narrow(listed.lpServiceName), reinterpret_cast<const char16_t*>(listed.lpServiceName));
    entry.displayName = Narrow(listed.lpDisplayName);
    entry.serviceType = listed.ServiceStatus.dwServiceType;
    entry.currentState = listed.ServiceStatus.dwCurrentState;
    return entry;
}

// A listed service's key name, as the W-functions take it.
const wchar_t* KeyName(const ServiceStatusEntry& entry) {
    return reinterpret_cast<const wchar_t*>(entry.name.Stored().c_str());
}

struct ScTraits {
    static SC_HANDLE Empty() { return nullptr; }
    static bool IsValid(SC_HANDLE handle) { return handle != nullptr; }
    static void Close(SC_HANDLE handle) { CloseServiceHandle(handle); }
};
using OwnedSc = UniqueHandle<SC_HANDLE, ScTraits>;

struct KeyTraits {
    static HKEY Empty() { return nullptr; }
    static bool IsValid(HKEY key) { return key != nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
using OwnedKey = UniqueHandle<HKEY, KeyTraits>;

// A service's configuration through the Unicode call, names exactly.
const QUERY_SERVICE_CONFIGW* ReadConfigW(SC_HANDLE service, std::vector<BYTE>* block) {
    if (!ReadWhole(block, [&](BYTE* data, DWORD size, DWORD* needed) {
            return QueryServiceConfigW(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(data), size,
                                       needed) != 0;
        }))
        return nullptr;
    return reinterpret_cast<const QUERY_SERVICE_CONFIGW*>(block->data());
}

// Service names and load-order groups compare without regard to case.
std::wstring Folded(const wchar_t* text) {
    std::wstring folded = text ? text : L"";
    if (!folded.empty()) CharLowerBuffW(folded.data(), static_cast<DWORD>(folded.size()));
    return folded;
}

// The key a service's dependents name it by among their dependencies; its
// group the same with the group mark before it.
std::wstring GroupKey(const wchar_t* group) {
    return group && *group ? std::wstring(1, SC_GROUP_IDENTIFIERW) + Folded(group) : std::wstring();
}

// The names of a list of texts each ended by a NUL, the list by another,
// read no further than `end`; each with `mark` before it.
void AddNames(const wchar_t* at, const wchar_t* end, const std::wstring& mark, std::vector<std::wstring>* names) {
    while (at && at < end && *at) {
        const wchar_t* stop = std::find(at, end, L'\0');
        names->push_back(mark + Folded(std::wstring(at, stop).c_str()));
        at = stop + 1;
    }
}

// A multi-string value of a service's key, whole; empty when absent. Far
// larger than any real list.
void AddRegistryNames(HKEY key, const wchar_t* value, const std::wstring& mark, std::vector<std::wstring>* names) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_MULTI_SZ ||
        size == 0 || size > 65536)
        return;
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return;
    AddNames(data.data(), data.data() + size / sizeof(wchar_t), mark, names);
}

// What a service needs started first, folded: services by name, groups
// with the group mark. Its configuration says; where that list is empty the
// service's key is read too (Wine 8's QueryServiceConfigW hands out none,
// though the key holds them).
std::vector<std::wstring> DependenciesOf(const QUERY_SERVICE_CONFIGW& config, const std::vector<BYTE>& block,
                                         const std::u16string& name) {
    std::vector<std::wstring> names;
    AddNames(config.lpDependencies, reinterpret_cast<const wchar_t*>(block.data() + block.size()), L"", &names);
    if (!names.empty()) return names;
    const std::wstring path = L"SYSTEM\\CurrentControlSet\\Services\\" + std::wstring(name.begin(), name.end());
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS)
        return names;
    const OwnedKey key(opened);
    AddRegistryNames(key.Get(), L"DependOnService", L"", &names);
    AddRegistryNames(key.Get(), L"DependOnGroup", std::wstring(1, SC_GROUP_IDENTIFIERW), &names);
    return names;
}

}  // namespace

ScHandle Win32ServiceDatabase::OpenManager(std::uint32_t access) {
    return reinterpret_cast<ScHandle>(OpenSCManagerA(nullptr, nullptr, access));
}

bool Win32ServiceDatabase::Enumerate(ScHandle manager, std::uint32_t type, std::uint32_t state,
                                     std::vector<ServiceStatusEntry>* services) {
    services->clear();
    // Ask for the size first. Some implementations do not advance the resume
    // handle after a partial answer, so a partial read is only continued
    // when the handle moved; otherwise everything is read again at once into
    // a buffer of the size asked for.
    // The Unicode call, so every name is had exactly.
    ENUM_SERVICE_STATUSW probe{};
    DWORD needed = 0, count = 0, resume = 0;
    if (EnumServicesStatusW(Sc(manager), type, state, &probe, 0, &needed, &count, &resume))
        return true;  // no services at all
    if (GetLastError() != ERROR_MORE_DATA) return false;

    DWORD size = needed + kEnumerationSlack;
    for (int attempt = 0; attempt < kEnumerationAttempts; ++attempt) {
        services->clear();
        resume = 0;
        for (;;) {
            std::vector<BYTE> buffer(size);
            auto* entries = reinterpret_cast<ENUM_SERVICE_STATUSW*>(buffer.data());
            DWORD before = resume;
            needed = count = 0;
            BOOL ok = EnumServicesStatusW(Sc(manager), type, state, entries, size, &needed,
                                          &count, &resume);
            DWORD error = ok ? ERROR_SUCCESS : GetLastError();
            if (!ok && error != ERROR_MORE_DATA) return false;
            for (DWORD i = 0; i < count; ++i) {
                if (!entries[i].lpServiceName) continue;
                services->push_back(EntryOf(entries[i]));
            }
            if (ok) return true;
            size = std::max(size, needed + kEnumerationSlack);
            if (resume == 0 || resume == before) break;  // read everything again
        }
    }
    return false;
}

ScHandle Win32ServiceDatabase::OpenServiceByName(ScHandle manager, const std::string& name,
                                           std::uint32_t access) {
    return reinterpret_cast<ScHandle>(OpenServiceA(Sc(manager), name.c_str(), access));
}

ScHandle Win32ServiceDatabase::OpenServiceByNameW(ScHandle manager, const std::u16string& name,
                                                  std::uint32_t access) {
    return reinterpret_cast<ScHandle>(
        OpenServiceW(Sc(manager), reinterpret_cast<const wchar_t*>(name.c_str()), access));
}

bool Win32ServiceDatabase::QueryConfig(ScHandle service, ServiceConfig* config) {
    std::vector<BYTE> block;
    if (!ReadWhole(&block, [&](BYTE* data, DWORD size, DWORD* needed) {
            return QueryServiceConfigA(Sc(service), reinterpret_cast<QUERY_SERVICE_CONFIGA*>(data),
                                       size, needed) != 0;
        }))
        return false;
    const auto* raw = reinterpret_cast<const QUERY_SERVICE_CONFIGA*>(block.data());
    config->serviceType = raw->dwServiceType;
    config->startType = raw->dwStartType;
    config->errorControl = raw->dwErrorControl;
    config->binaryPath = Text(raw->lpBinaryPathName);
    return true;
}

bool Win32ServiceDatabase::QueryDescription(ScHandle service, std::string* description) {
    description->clear();
    std::vector<BYTE> block;
    if (!ReadWhole(&block, [&](BYTE* data, DWORD size, DWORD* needed) {
            return QueryServiceConfig2A(Sc(service), SERVICE_CONFIG_DESCRIPTION, data, size,
                                        needed) != 0;
        }))
        return false;
    *description = Text(reinterpret_cast<const SERVICE_DESCRIPTIONA*>(block.data())->lpDescription);
    return true;
}

bool Win32ServiceDatabase::QueryState(ScHandle service, std::uint32_t* state) {
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(Sc(service), &status)) return false;
    *state = status.dwCurrentState;
    return true;
}

bool Win32ServiceDatabase::ChangeStartType(ScHandle service, std::uint32_t startType) {
    return ChangeServiceConfigW(Sc(service), SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE,
                                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr) != 0;
}

std::uint32_t Win32ServiceDatabase::StartByHandle(ScHandle service) {
    if (StartServiceW(Sc(service), 0, nullptr)) return 0;
    const DWORD error = GetLastError();
    return error ? error : ERROR_GEN_FAILURE;
}

std::uint32_t Win32ServiceDatabase::StopByHandle(ScHandle service) {
    // Not every service manager refuses by itself (Wine 8's stops the
    // service whatever runs on it).
    std::vector<ServiceStatusEntry> running;
    if (EnumerateDependents(service, SERVICE_ACTIVE, &running) && !running.empty())
        return ERROR_DEPENDENT_SERVICES_RUNNING;
    SERVICE_STATUS status{};
    if (ControlService(Sc(service), SERVICE_CONTROL_STOP, &status)) return 0;
    const DWORD error = GetLastError();
    return error ? error : ERROR_GEN_FAILURE;
}

bool Win32ServiceDatabase::EnumerateDependents(ScHandle service, std::uint32_t state,
                                               std::vector<ServiceStatusEntry>* dependents) {
    dependents->clear();
    // Too small a buffer gives ERROR_MORE_DATA here, with the bytes needed.
    std::vector<BYTE> block;
    DWORD count = 0;
    DWORD size = 4096;
    for (int attempt = 0;; ++attempt) {
        block.assign(size, 0);
        DWORD needed = 0;
        count = 0;
        if (EnumDependentServicesW(Sc(service), state,
                                   reinterpret_cast<ENUM_SERVICE_STATUSW*>(block.data()), size,
                                   &needed, &count))
            break;
        if (attempt == 3 || GetLastError() != ERROR_MORE_DATA || needed <= size) return false;
        size = needed + kEnumerationSlack;
    }
    const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUSW*>(block.data());
    for (DWORD i = 0; i < count; ++i) {
        if (!entries[i].lpServiceName) continue;
        dependents->push_back(EntryOf(entries[i]));
    }
    // And those found from every service's own configuration: some service
    // managers list none (Wine 8's EnumDependentServices is a stub).
    std::vector<ServiceStatusEntry> found;
    if (DependentsByConfiguration(service, &found))
        for (ServiceStatusEntry& entry : found) {
            const bool active = entry.currentState != SERVICE_STOPPED;
            if (!((state & SERVICE_ACTIVE) && active) && !((state & SERVICE_INACTIVE) && !active)) continue;
            const bool listed = std::any_of(dependents->begin(), dependents->end(), [&](const ServiceStatusEntry& e) {
                return Folded(KeyName(e)) == Folded(KeyName(entry));
            });
            if (!listed) dependents->push_back(std::move(entry));
        }
    return true;
}

// Every service that names this one (or its load-order group) among the
// services it needs started first, and in turn those that need them, in
// the order found. One pass over the configurations builds the index of who
// needs what; the walk then visits each service once.
bool Win32ServiceDatabase::DependentsByConfiguration(ScHandle service,
                                                     std::vector<ServiceStatusEntry>* dependents) {
    dependents->clear();
    std::vector<BYTE> own;
    const QUERY_SERVICE_CONFIGW* config = ReadConfigW(Sc(service), &own);
    if (!config || !config->lpDisplayName) return false;
    OwnedSc manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE));
    if (!manager) return false;
    // The handle's own name: the manager maps the display name back to it.
    wchar_t name[257] = {};
    DWORD length = 257;
    if (!GetServiceKeyNameW(manager.Get(), config->lpDisplayName, name, &length)) return false;

    std::vector<ServiceStatusEntry> all;
    if (!Enumerate(reinterpret_cast<ScHandle>(manager.Get()), SERVICE_WIN32, SERVICE_STATE_ALL, &all))
        return false;
    std::map<std::wstring, std::vector<size_t>> neededBy;  // folded name or group key -> services
    std::vector<std::wstring> groups(all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        OwnedSc other(OpenServiceW(manager.Get(), KeyName(all[i]), SERVICE_QUERY_CONFIG));
        std::vector<BYTE> block;
        const QUERY_SERVICE_CONFIGW* its = other ? ReadConfigW(other.Get(), &block) : nullptr;
        if (!its) continue;
        groups[i] = GroupKey(its->lpLoadOrderGroup);
        for (const std::wstring& needed : DependenciesOf(*its, block, all[i].name.Stored()))
            neededBy[needed].push_back(i);
    }
    std::vector<bool> seen(all.size(), false);
    // A loop of dependencies does not list the service as its own dependent.
    for (size_t i = 0; i < all.size(); ++i)
        if (Folded(KeyName(all[i])) == Folded(name)) seen[i] = true;
    std::vector<std::wstring> pending{Folded(name), GroupKey(config->lpLoadOrderGroup)};
    while (!pending.empty()) {
        const std::wstring key = pending.back();
        pending.pop_back();
        if (key.empty()) continue;
        const auto needing = neededBy.find(key);
        if (needing == neededBy.end()) continue;
        for (size_t i : needing->second) {
            if (seen[i]) continue;
            seen[i] = true;
            dependents->push_back(all[i]);
            pending.push_back(Folded(KeyName(all[i])));
            pending.push_back(groups[i]);
        }
    }
    return true;
}

bool Win32ServiceDatabase::Delete(ScHandle service) { return DeleteService(Sc(service)) != 0; }

void Win32ServiceDatabase::Close(ScHandle handle) {
    if (handle != 0) CloseServiceHandle(Sc(handle));
}

}  // namespace tv
