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
SystemInfoContent GatherSystemInfo(const SystemFacts& facts, HardwareQueries& queries,
                                   const HardwareInventory& inventory,
                                   const std::function<void(GatherStage)>& stageDone = {});

// The same content in two halves that can be gathered side by side: what
// the three management queries give, and everything else.
struct ManagementRows {
    std::optional<std::string> processor;
    std::optional<std::string> video;
    std::string diskModel;
};
// The three queries in their order; `stop` is asked between them, and
// once it says so the rest are skipped.
ManagementRows RunManagementQueries(HardwareQueries& queries,
                                    const std::function<bool()>& stop = {},
                                    const std::function<void(GatherStage)>& stageDone = {});
// Facts, memory, sound, disk capacity (without the model) and optical drives.
SystemInfoContent GatherLocalSystemInfo(const SystemFacts& facts,
                                        const HardwareInventory& inventory);
// The two halves as GatherSystemInfo gives them at once.
SystemInfoContent MergeSystemInfo(SystemInfoContent local, const ManagementRows& rows);

}  // namespace tv
