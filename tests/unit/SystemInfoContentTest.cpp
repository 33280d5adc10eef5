// What the system information page shows, gathered over fakes: the five
// labels, the six rows and the order of the work.
#include <gtest/gtest.h>

#include "platform/fake/FakeDrives.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystemProbe.h"
#include "platform/fake/FakeWmi.h"
#include "sysinfo/SystemInfoContent.h"

namespace tv {
namespace {

class SystemInfoContentTest : public ::testing::Test {
protected:
    SystemInfoContentTest() {
        FakeDrives::Drive c;
        c.space = {10ull << 30, 100ull << 30, 10ull << 30};
        drives.Set("C:\\", c);
        FakeDrives::Drive d = c;
        d.space.total = 50ull << 30;
        drives.Set("D:\\", d);
    }
    SystemInfoContent Gather(std::vector<GatherStage>* stages = nullptr) {
        SystemFacts facts(probe);
        HardwareQueries queries(wmi);
        const HardwareInventory inventory(probe, drives, registry);
        return GatherSystemInfo(facts, queries, inventory, [&](GatherStage s) {
            if (stages) stages->push_back(s);
        });
    }

    void SetUpFullMachine() {
        wmi.classes["Win32_Processor"] = {{{"Name", WmiValue::String(" Intel CPU")},
                                           {"CurrentClockSpeed", WmiValue::Int32(2400)}}};
        wmi.classes["Win32_VideoController"] = {{{"Caption", WmiValue::String("Radeon")},
                                                 {"AdapterRAM", WmiValue::UInt32(1u << 30)}}};
        wmi.classes["Win32_DiskDrive"] = {{{"Caption", WmiValue::String("ST500")}}};
        probe.soundDevices = {{"Speakers", true}};
        RegKey cdrom = RegKey::Create(registry, kHkeyLocalMachine,
                                      "SYSTEM\\CurrentControlSet\\Services\\Cdrom\\Enum");
        cdrom.SetDword("Count", 2);
        cdrom.SetString("0", "IDE\\A");
        cdrom.SetString("1", "IDE\\B");
    }

    FakeSystemProbe probe;
    FakeWmi wmi;
    FakeDrives drives;
    FakeRegistry registry;
};

TEST_F(SystemInfoContentTest, RowNames) {
    const std::vector<std::string> names(kHardwareRowNames, kHardwareRowNames + kHardwareRowCount);
    EXPECT_EQ(names, (std::vector<std::string>{"CPU", "内存", "显卡", "声卡", "硬盘", "光驱"}));
}

TEST_F(SystemInfoContentTest, LabelsJoinNamesWithTheirModes) {
    probe.computerName = "X";
    probe.userName = "admin";
    probe.tickCount64 = 5430000;
    const SystemInfoContent c = Gather();
    EXPECT_EQ(c.computer, "X  [正常模式登录]");
    EXPECT_EQ(c.user, "admin   [Admin 管理权限]");
    EXPECT_EQ(c.os, "Windows 7 [Build 7601]");
    EXPECT_EQ(c.servicePack, "Service Pack 1");
    EXPECT_EQ(c.uptime, "1 小时 30 分钟");

    probe.cleanBoot = 7;
    probe.tokenGroups.reset();
    probe.version = VersionRecord{2, 6, 2, 9200, 0, 1};
    const SystemInfoContent other = Gather();
    EXPECT_EQ(other.computer, "X未知");
    EXPECT_EQ(other.user, "admin   [User 客户权限]");
    EXPECT_EQ(other.os, "");
    EXPECT_EQ(other.servicePack, "Service Pack 0");
}

TEST_F(SystemInfoContentTest, FullMachineFillsEveryRowInOrder) {
    SetUpFullMachine();
    std::vector<GatherStage> stages;
    const SystemInfoContent c = Gather(&stages);
    EXPECT_EQ(c.rows[0], "Intel CPU  2400 MHz");
    EXPECT_EQ(c.rows[1], "物理 2049 MB ");
    EXPECT_EQ(c.rows[2], "Radeon   1024 MB");
    EXPECT_EQ(c.rows[3], "Speakers");
    EXPECT_EQ(c.rows[4], "ST500  总容量 150 GB");
    EXPECT_EQ(c.rows[5], "IDE\\A\nIDE\\B\n");
    std::vector<std::string> queries;
    for (const auto& run : wmi.Runs()) queries.push_back(run.wql);
    EXPECT_EQ(queries, (std::vector<std::string>{"SELECT * FROM Win32_Processor",
                                                 "SELECT * FROM Win32_VideoController",
                                                 "SELECT * FROM Win32_DiskDrive"}));
    EXPECT_EQ(stages, (std::vector<GatherStage>{GatherStage::Facts, GatherStage::ProcessorQuery,
                                                GatherStage::VideoQuery, GatherStage::DiskQuery,
                                                GatherStage::Rest}));
}

// The page gathers the two halves on threads of their own: merged, they
// must give exactly what one gathering gives, with and without the queries.
TEST_F(SystemInfoContentTest, HalvesGatheredApartMergeToTheSameContent) {
    for (bool full : {true, false}) {
        SCOPED_TRACE(full ? "full machine" : "no management queries");
        if (full) SetUpFullMachine();
        wmi.available = full;
        const SystemInfoContent whole = Gather();
        SystemFacts facts(probe);
        HardwareQueries queries(wmi);
        const ManagementRows rows = RunManagementQueries(queries);
        const HardwareInventory local(probe, drives, registry);
        const SystemInfoContent merged = MergeSystemInfo(GatherLocalSystemInfo(facts, local), rows);
        EXPECT_EQ(merged.computer, whole.computer);
        EXPECT_EQ(merged.user, whole.user);
        EXPECT_EQ(merged.os, whole.os);
        EXPECT_EQ(merged.servicePack, whole.servicePack);
        EXPECT_EQ(merged.uptime, whole.uptime);
        EXPECT_EQ(merged.rows, whole.rows);
    }
}

// Closing the window while the queries run stops them at the next query.
TEST_F(SystemInfoContentTest, StoppedQueriesSkipTheRest) {
    SetUpFullMachine();
    HardwareQueries queries(wmi);
    // Asked to stop once the processor has come: the rest is skipped.
    const ManagementRows rows = RunManagementQueries(
        queries, [&] { return !wmi.Runs().empty() && wmi.Runs().back().objectsHanded > 0; });
    EXPECT_EQ(wmi.Runs().size(), 1u);
    EXPECT_EQ(rows.processor, "Intel CPU  2400 MHz");
    EXPECT_EQ(rows.video, std::nullopt);
    EXPECT_EQ(rows.diskModel, "");
    // Asked at once: the query under way stops too, and gives nothing.
    const ManagementRows none = RunManagementQueries(queries, [] { return true; });
    EXPECT_EQ(wmi.Runs().size(), 2u);
    EXPECT_EQ(none.processor, std::nullopt);
}

TEST_F(SystemInfoContentTest, MachineWithoutWmiOpticalDrivesOrSound) {
    wmi.available = false;
    const SystemInfoContent c = Gather();
    EXPECT_EQ(c.rows[0], std::nullopt);
    EXPECT_EQ(c.rows[2], std::nullopt);
    EXPECT_EQ(c.rows[3], "没有发现声音设备");
    EXPECT_EQ(c.rows[4], "  总容量 150 GB");
    EXPECT_EQ(c.rows[5], "");
    EXPECT_EQ(wmi.Runs().size(), 3u);  // each query still tried once
}

}  // namespace
}  // namespace tv
