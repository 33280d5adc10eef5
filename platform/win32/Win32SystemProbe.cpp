#include "platform/win32/Win32SystemProbe.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/ScopedHandle.h"
#include "platform/win32/SystemLibrary.h"

namespace tv {

namespace {

// The name calls fill a 260-byte buffer (the platform's names are far
// shorter); a larger need is asked for once.
template <typename Get>
bool ReadName(Get get, std::string* name) {
    name->clear();
    std::string buffer(260, '\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!get(buffer.data(), &size)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER && GetLastError() != ERROR_BUFFER_OVERFLOW)
            return false;
        buffer.assign(static_cast<size_t>(size) + 1, '\0');
        size = static_cast<DWORD>(buffer.size());
        if (!get(buffer.data(), &size)) return false;
    }
    name->assign(buffer.c_str());
    return true;
}

SecurityId CopySid(PSID sid) {
    SecurityId id;
    if (!sid || !IsValidSid(sid)) return id;
    const SID_IDENTIFIER_AUTHORITY* authority = GetSidIdentifierAuthority(sid);
    for (BYTE byte : authority->Value) id.authority = (id.authority << 8) | byte;
    const UCHAR count = *GetSidSubAuthorityCount(sid);
    for (UCHAR i = 0; i < count; ++i) id.subAuthorities.push_back(*GetSidSubAuthority(sid, i));
    return id;
}

}  // namespace

bool Win32SystemProbe::Version(VersionRecord* record) const {
    *record = VersionRecord{};
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
    record->platformId = info.dwPlatformId;
    record->major = info.dwMajorVersion;
    record->minor = info.dwMinorVersion;
    record->build = info.dwBuildNumber;
    record->servicePackMajor = info.wServicePackMajor;
    record->productType = info.wProductType;
    return true;
}

bool Win32SystemProbe::ComputerName(std::string* name) const {
    return ReadName([](char* b, DWORD* n) { return GetComputerNameA(b, n) != 0; }, name);
}

bool Win32SystemProbe::UserName(std::string* name) const {
    return ReadName([](char* b, DWORD* n) { return GetUserNameA(b, n) != 0; }, name);
}

bool Win32SystemProbe::TickCount64(std::uint64_t* milliseconds) const {
    using Counter = ULONGLONG(WINAPI*)();
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return false;
    auto counter = reinterpret_cast<Counter>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetTickCount64")));
    if (!counter) return false;
    *milliseconds = counter();
    return true;
}

std::uint32_t Win32SystemProbe::TickCount() const { return GetTickCount(); }

bool Win32SystemProbe::TokenGroups(std::vector<TokenGroup>* groups) const {
    groups->clear();
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    ScopedHandle token(raw);
    // Asked for its size first: a token with many groups does not fit a
    // fixed buffer.
    DWORD size = 0;
    GetTokenInformation(token.Get(), ::TokenGroups, nullptr, 0, &size);
    if (size == 0) return false;
    std::vector<unsigned char> buffer(size);
    if (!GetTokenInformation(token.Get(), ::TokenGroups, buffer.data(), size, &size)) return false;
    const auto* list = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < list->GroupCount; ++i)
        groups->push_back({CopySid(list->Groups[i].Sid), list->Groups[i].Attributes});
    return true;
}

int Win32SystemProbe::CleanBootMetric() const { return GetSystemMetrics(SM_CLEANBOOT); }

bool Win32SystemProbe::Is64BitSystem() const {
#if defined(_WIN64)
    return true;
#else
    // Systems before XP SP2 lack the call; they are all 32-bit.
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto isWow64 = kernel ? reinterpret_cast<IsWow64ProcessFn>(
                                reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
                          : nullptr;
    BOOL wow64 = FALSE;
    return isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64;
#endif
}

bool Win32SystemProbe::TotalPhysicalMemory(std::uint64_t* bytes) const {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) return false;
    *bytes = status.ullTotalPhys;
    return true;
}

unsigned Win32SystemProbe::WaveOutDeviceCount() const {
    static const auto count = SystemFunctionAs<decltype(&waveOutGetNumDevs)>("winmm.dll", "waveOutGetNumDevs");
    return count != nullptr ? count() : 0;
}

bool Win32SystemProbe::WaveOutDeviceName(unsigned device, std::string* name) const {
    name->clear();
    static const auto capsOf =
        SystemFunctionAs<decltype(&waveOutGetDevCapsA)>("winmm.dll", "waveOutGetDevCapsA");
    WAVEOUTCAPSA caps{};
    if (capsOf == nullptr || capsOf(device, &caps, sizeof(caps)) != MMSYSERR_NOERROR) return false;
    caps.szPname[sizeof(caps.szPname) - 1] = '\0';
    name->assign(caps.szPname);
    return true;
}

}  // namespace tv
