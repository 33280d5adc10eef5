// Facts about the running system and its hardware that come straight from
// the platform: version record, names, time since start, the process
// token's groups, the boot-mode metric, physical memory and sound devices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tv {

// Platform ids, with the Win32 VER_PLATFORM_* values.
constexpr std::uint32_t kPlatformWindows9x = 1;
constexpr std::uint32_t kPlatformWindowsNt = 2;

// The fields of the extended version record the program looks at. A failed
// read leaves every field 0.
struct VersionRecord {
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint16_t servicePackMajor = 0;
    std::uint8_t productType = 0;  // 1: workstation edition
};

// A security identifier: authority (6 bytes, big-endian as the platform
// stores it, held here as a number) and its sub-authorities.
struct SecurityId {
    std::uint64_t authority = 0;
    std::vector<std::uint32_t> subAuthorities;

    bool operator==(const SecurityId& other) const {
        return authority == other.authority && subAuthorities == other.subAuthorities;
    }
};

struct TokenGroup {
    SecurityId sid;
    std::uint32_t attributes = 0;
};

// The platform's group attribute bits the tests use.
constexpr std::uint32_t kGroupEnabled = 0x4;
constexpr std::uint32_t kGroupUseForDenyOnly = 0x10;

class SystemProbe {
public:
    virtual ~SystemProbe() = default;

    // GetVersionEx with the extended record; false (and a zero record) on
    // failure.
    virtual bool Version(VersionRecord* record) const = 0;
    // GetComputerName / GetUserName; false on failure.
    virtual bool ComputerName(std::string* name) const = 0;
    virtual bool UserName(std::string* name) const = 0;
    // Milliseconds since system start: the 64-bit counter where the platform
    // has one (false where it has not), and the 32-bit one that wraps after
    // about 49.7 days.
    virtual bool TickCount64(std::uint64_t* milliseconds) const = 0;
    virtual std::uint32_t TickCount() const = 0;
    // The groups of the current process's token, in the token's order;
    // false when the token cannot be opened or read.
    virtual bool TokenGroups(std::vector<TokenGroup>* groups) const = 0;
    // GetSystemMetrics(SM_CLEANBOOT).
    virtual int CleanBootMetric() const = 0;
    // Total physical memory in bytes (GlobalMemoryStatusEx); false on
    // failure.
    virtual bool TotalPhysicalMemory(std::uint64_t* bytes) const = 0;
    // Wave-output devices: how many, and the product name of one of them
    // (at most 31 characters); false when the device cannot be asked.
    virtual unsigned WaveOutDeviceCount() const = 0;
    virtual bool WaveOutDeviceName(unsigned device, std::string* name) const = 0;
    // True on 64-bit Windows, whichever bitness this program has (a 32-bit
    // build asks IsWow64Process; a 64-bit build runs only there).
    virtual bool Is64BitSystem() const = 0;
};

}  // namespace tv
