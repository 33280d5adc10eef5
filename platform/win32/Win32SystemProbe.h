#pragma once

#include "platform/SystemProbe.h"

namespace tv {

// GetVersionExA, GetComputerNameA, GetUserNameA, GetTickCount64 (looked up
// at run time: systems before Vista lack it) and GetTickCount, the process
// token's TokenGroups, GetSystemMetrics, GlobalMemoryStatusEx, waveOut*,
// IsWow64Process (looked up at run time: not on every system).
class Win32SystemProbe : public SystemProbe {
public:
    bool Version(VersionRecord* record) const override;
    bool ComputerName(std::string* name) const override;
    bool UserName(std::string* name) const override;
    bool TickCount64(std::uint64_t* milliseconds) const override;
    std::uint32_t TickCount() const override;
    bool TokenGroups(std::vector<TokenGroup>* groups) const override;
    int CleanBootMetric() const override;
    bool TotalPhysicalMemory(std::uint64_t* bytes) const override;
    unsigned WaveOutDeviceCount() const override;
    bool WaveOutDeviceName(unsigned device, std::string* name) const override;
    bool Is64BitSystem() const override;
};

}  // namespace tv
