// A system a test describes field by field; every probe can be made to fail.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/SystemProbe.h"

namespace tv {

class FakeSystemProbe : public SystemProbe {
public:
    struct SoundDevice {
        std::string name;
        bool readable = true;
    };

    // Empty optionals make the matching call fail.
    std::optional<VersionRecord> version = VersionRecord{2, 6, 1, 7601, 1, 1};
    std::optional<std::string> computerName = std::string("TESTPC");
    std::optional<std::string> userName = std::string("tester");
    std::optional<std::uint64_t> tickCount64 = 3600000;
    std::uint32_t tickCount = 3600000;
    std::optional<std::vector<TokenGroup>> tokenGroups = std::vector<TokenGroup>{
        {{1, {0}}, 7}, {{5, {32, 544}}, 0xF}, {{5, {32, 545}}, 7}};
    int cleanBoot = 0;
    std::optional<std::uint64_t> physicalMemory = 2ull << 30;
    std::vector<SoundDevice> soundDevices;
    bool is64BitSystem = false;

    bool Version(VersionRecord* record) const override {
        *record = version.value_or(VersionRecord{});
        return version.has_value();
    }
    bool ComputerName(std::string* name) const override { return Text(computerName, name); }
    bool UserName(std::string* name) const override { return Text(userName, name); }
    bool TickCount64(std::uint64_t* milliseconds) const override {
        if (!tickCount64) return false;
        *milliseconds = *tickCount64;
        return true;
    }
    std::uint32_t TickCount() const override { return tickCount; }
    bool TokenGroups(std::vector<TokenGroup>* groups) const override {
        groups->clear();
        if (!tokenGroups) return false;
        *groups = *tokenGroups;
        return true;
    }
    int CleanBootMetric() const override { return cleanBoot; }
    bool TotalPhysicalMemory(std::uint64_t* bytes) const override {
        if (!physicalMemory) return false;
        *bytes = *physicalMemory;
        return true;
    }
    unsigned WaveOutDeviceCount() const override {
        return static_cast<unsigned>(soundDevices.size());
    }
    bool WaveOutDeviceName(unsigned device, std::string* name) const override {
        if (device >= soundDevices.size() || !soundDevices[device].readable) return false;
        // The platform's capability record holds 31 characters and a NUL.
        *name = soundDevices[device].name.substr(0, 31);
        return true;
    }

    bool Is64BitSystem() const override { return is64BitSystem; }

private:
    static bool Text(const std::optional<std::string>& value, std::string* out) {
        out->clear();
        if (!value) return false;
        *out = *value;
        return true;
    }
};

}  // namespace tv
