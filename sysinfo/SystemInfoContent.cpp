#include "sysinfo/SystemInfoContent.h"

namespace tv {

const char* const kHardwareRowNames[kHardwareRowCount] = {"CPU",  "内存", "显卡",
                                                          "声卡", "硬盘", "光驱"};

SystemInfoContent GatherSystemInfo(const SystemFacts& facts, HardwareInventory& inventory,
                                   const std::function<void(GatherStage)>& stageDone) {
    auto done = [&](GatherStage stage) {
        if (stageDone) stageDone(stage);
    };
    SystemInfoContent content;
    content.computer = facts.ComputerName() + facts.BootMode();
    content.user = facts.UserName() + facts.UserRights();
    content.os = facts.OsName();
    content.servicePack = facts.ServicePack();
    content.uptime = facts.Uptime();
    done(GatherStage::Facts);

    content.rows[0] = inventory.WmiClassQuery("Win32_Processor", WmiKind::Processor);
    done(GatherStage::ProcessorQuery);
    content.rows[2] = inventory.WmiClassQuery("Win32_VideoController", WmiKind::VideoController);
    done(GatherStage::VideoQuery);
    inventory.WmiClassQuery("Win32_DiskDrive", WmiKind::DiskDrive);
    done(GatherStage::DiskQuery);

    content.rows[1] = inventory.MemoryText();
    content.rows[3] = inventory.SoundText();
    content.rows[4] = inventory.HardDiskText();
    content.rows[5] = inventory.OpticalDrivesText();
    done(GatherStage::Rest);
    return content;
}

}  // namespace tv
