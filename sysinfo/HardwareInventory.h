// One line of text per hardware class: processor, video adapter and disk
// model from management queries; memory, sound, disk capacity and optical
// drives from the platform and the registry.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Drives.h"
#include "platform/Registry.h"
#include "platform/SystemProbe.h"
#include "platform/Wmi.h"

namespace tv {

enum class WmiKind { Processor = 0, VideoController = 1, DiskDrive = 2 };

extern const char kNoSoundDeviceText[];

// The rows the management queries give: processor, video adapter and the
// disk model.
class HardwareQueries {
public:
    explicit HardwareQueries(Wmi& wmi) : wmi_(wmi) {}

    // One query run over `className`. Processor and video controller: the
    // text of the last object, absent when the run fails or yields no
    // object. Disk drive: no text; the first object's caption becomes the
    // disk model.
    // `stop` ends the run early, as if it had failed.
    std::optional<std::string> WmiClassQuery(const std::string& className, WmiKind kind,
                                             const std::function<bool()>& stop = {});

    const std::string& DiskModel() const { return diskModel_; }

private:
    Wmi& wmi_;
    std::string diskModel_;
};

// The rows read from the platform and the registry.
class HardwareInventory {
public:
    HardwareInventory(const SystemProbe& probe, const Drives& drives, Registry& registry)
        : probe_(probe), drives_(drives), registry_(registry) {}

    // "物理 N MB " with the whole MiB count plus one; empty when the size
    // cannot be read.
    std::string MemoryText() const;
    // The first wave-output device's name, or the no-device text.
    std::string SoundText() const;
    // One line per optical drive: its friendly name, else its instance path.
    std::string OpticalDrivesText() const;
    // `diskModel`, two spaces and the total of the fixed volumes C: to Z:
    // in GiB.
    std::string HardDiskText(const std::string& diskModel) const;

private:
    const SystemProbe& probe_;
    const Drives& drives_;
    Registry& registry_;
};

// The size of the volume at `root` in MiB, 0 when it cannot be read.
std::uint32_t DriveTotalMegabytes(const Drives& drives, const std::string& root);

// The row texts from one management object.
std::string ProcessorText(const WmiObject& object);
std::string VideoControllerText(const WmiObject& object);
std::string DiskModelText(const WmiObject& object);

}  // namespace tv
