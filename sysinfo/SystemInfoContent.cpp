#include "sysinfo/SystemInfoContent.h"

#include <utility>

namespace tv {

const char* const kHardwareRowNames[kHardwareRowCount] = {"CPU",  "内存", "显卡",
                                                          "声卡", "硬盘", "光驱"};

namespace {

void FillFacts(const SystemFacts& facts, SystemInfoContent* content) {
    content->computer = facts.ComputerName() + facts.BootMode();
    content->user = facts.UserName() + facts.UserRights();
    content->os = facts.OsName();
    content->servicePack = facts.ServicePack();
    content->uptime = facts.Uptime();
}

// The disk row without its model.
void FillRest(const HardwareInventory& inventory, SystemInfoContent* content) {
    content->rows[1] = inventory.MemoryText();
    content->rows[3] = inventory.SoundText();
    content->rows[4] = inventory.HardDiskText("");
    content->rows[5] = inventory.OpticalDrivesText();
}

}  // namespace

SystemInfoContent GatherSystemInfo(const SystemFacts& facts, HardwareQueries& queries,
                                   const HardwareInventory& inventory,
                                   const std::function<void(GatherStage)>& stageDone) {
    SystemInfoContent content;
    FillFacts(facts, &content);
    if (stageDone) stageDone(GatherStage::Facts);
    const ManagementRows rows = RunManagementQueries(queries, {}, stageDone);
    FillRest(inventory, &content);
    if (stageDone) stageDone(GatherStage::Rest);
    return MergeSystemInfo(std::move(content), rows);
}

ManagementRows RunManagementQueries(HardwareQueries& queries,
                                    const std::function<bool()>& stop,
                                    const std::function<void(GatherStage)>& stageDone) {
    auto done = [&](GatherStage stage) {
        if (stageDone) stageDone(stage);
        return stop && stop();
    };
    ManagementRows rows;
    rows.processor = queries.WmiClassQuery("Win32_Processor", WmiKind::Processor, stop);
    if (done(GatherStage::ProcessorQuery)) return rows;
    rows.video = queries.WmiClassQuery("Win32_VideoController", WmiKind::VideoController, stop);
    if (done(GatherStage::VideoQuery)) return rows;
    queries.WmiClassQuery("Win32_DiskDrive", WmiKind::DiskDrive, stop);
    rows.diskModel = queries.DiskModel();
    done(GatherStage::DiskQuery);
    return rows;
}

SystemInfoContent GatherLocalSystemInfo(const SystemFacts& facts,
                                        const HardwareInventory& inventory) {
    SystemInfoContent content;
    FillFacts(facts, &content);
    FillRest(inventory, &content);
    return content;
}

SystemInfoContent MergeSystemInfo(SystemInfoContent local, const ManagementRows& rows) {
    local.rows[0] = rows.processor;
    local.rows[2] = rows.video;
    // The disk row reads the model first, then the capacity.
    if (local.rows[4]) local.rows[4] = rows.diskModel + *local.rows[4];
    return local;
}

}  // namespace tv
