// What the system information page shows: five labels and the second column
// of six hardware rows, gathered once in a fixed order.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "sysinfo/HardwareInventory.h"
#include "sysinfo/SystemFacts.h"

namespace tv {

constexpr int kHardwareRowCount = 6;
// Column 0 of the rows, top to bottom.
extern const char* const kHardwareRowNames[kHardwareRowCount];

struct SystemInfoContent {
    std::string computer;     // name + boot mode
    std::string user;         // name + rights
    std::string os;           // edition and build
    std::string servicePack;
    std::string uptime;
    // Absent: the row keeps its empty second column.
    std::array<std::optional<std::string>, kHardwareRowCount> rows;
};

// The stages of gathering, reported as each one ends (for timing).
enum class GatherStage { Facts, ProcessorQuery, VideoQuery, DiskQuery, Rest };

// Facts first, then the three management queries (processor, video, disk
// model), then memory, sound, disks (needs the disk model) and optical
// drives.
SystemInfoContent GatherSystemInfo(const SystemFacts& facts, HardwareInventory& inventory,
                                   const std::function<void(GatherStage)>& stageDone = {});

}  // namespace tv
