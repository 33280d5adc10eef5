#include "platform/win32/Win32ServiceDatabase.h"
#include "platform/win32/Win32TextCodec.h"

#include <windows.h>

#include <algorithm>
#include <vector>

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
    entry.name = Narrow(listed.lpServiceName);
    entry.exactName.assign(reinterpret_cast<const char16_t*>(listed.lpServiceName));
    entry.displayName = Narrow(listed.lpDisplayName);
    entry.serviceType = listed.ServiceStatus.dwServiceType;
    entry.currentState = listed.ServiceStatus.dwCurrentState;
    return entry;
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
    return true;
}

bool Win32ServiceDatabase::Delete(ScHandle service) { return DeleteService(Sc(service)) != 0; }

void Win32ServiceDatabase::Close(ScHandle handle) {
    if (handle != 0) CloseServiceHandle(Sc(handle));
}

}  // namespace tv
