// The hardware rows over fake management objects, drives, sound devices and
// registry.
#include <gtest/gtest.h>

#include "platform/fake/FakeDrives.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystemProbe.h"
#include "platform/fake/FakeWmi.h"
#include "sysinfo/HardwareInventory.h"

namespace tv {
namespace {

constexpr std::uint64_t kMiB = 1ull << 20;
constexpr std::uint64_t kGiB = 1ull << 30;

WmiObject Processor(const std::string& name, std::int32_t mhz) {
    return {{"Name", WmiValue::String(name)}, {"CurrentClockSpeed", WmiValue::Int32(mhz)}};
}

WmiObject Video(const std::string& caption, WmiValue ram) {
    return {{"Caption", WmiValue::String(caption)}, {"AdapterRAM", ram}};
}

class HardwareInventoryTest : public ::testing::Test {
protected:
    HardwareQueries Queries() { return HardwareQueries(wmi); }
    HardwareInventory Inventory() { return HardwareInventory(probe, drives, registry); }
    void AddFixed(const std::string& root, std::uint64_t total, int type = kDriveFixed) {
        FakeDrives::Drive d;
        d.type = type;
        d.space = {total / 2, total, total / 2};
        drives.Set(root, d);
    }
    RegKey Key(const std::string& path) { return RegKey::Create(registry, kHkeyLocalMachine, path); }

    FakeWmi wmi;
    FakeSystemProbe probe;
    FakeDrives drives;
    FakeRegistry registry;
};

TEST_F(HardwareInventoryTest, ProcessorTextIsTheLastObjectsTrimmedNameAndSpeed) {
    struct Case {
        std::vector<WmiObject> objects;
        std::optional<std::string> expected;
    } cases[] = {
        {{Processor("        Intel(R) Core(TM)2 Duo CPU     E8400  @ 3.00GHz", 2992)},
         "Intel(R) Core(TM)2 Duo CPU     E8400  @ 3.00GHz  2992 MHz"},
        {{Processor("\t AMD Athlon", 2000), Processor("Second CPU ", 1800)}, "Second CPU   1800 MHz"},
        {{Processor("", 0)}, "  0 MHz"},
        {{{{"CurrentClockSpeed", WmiValue::UInt32(3400)}}}, "  3400 MHz"},  // no Name
        {{}, std::nullopt},                                                  // no object
    };
    for (const Case& c : cases) {
        wmi.classes["Win32_Processor"] = c.objects;
        auto queries = Queries();
        EXPECT_EQ(queries.WmiClassQuery("Win32_Processor", WmiKind::Processor), c.expected);
    }
    EXPECT_EQ(wmi.Runs().back().wql, "SELECT * FROM Win32_Processor");
    EXPECT_EQ(wmi.Runs().back().properties, (std::vector<std::string>{"Name", "CurrentClockSpeed"}));
}

TEST_F(HardwareInventoryTest, VideoTextCleansTheCaptionAndShowsUnsignedMegabytes) {
    struct Case {
        std::vector<WmiObject> objects;
        std::string expected;
    } cases[] = {
        {{Video("Secondary NVIDIA GeForce 9600 GT (Microsoft Corporation - WDDM)",
                WmiValue::UInt32(256u << 20))},
         " NVIDIA GeForce 9600 GT (WDDM)   256 MB"},
        // 4095 MiB arrives as a negative signed value on some systems.
        {{Video("ATI Radeon", WmiValue::Int32(static_cast<std::int32_t>(4095u << 20)))},
         "ATI Radeon   4095 MB"},
        {{Video("  Leading kept", WmiValue::UInt32((64u << 20) + 1048575))}, "  Leading kept   64 MB"},
        {{Video("VideoController1", WmiValue::Int32(0))}, "VideoController1   0 MB"},
        {{Video("SecondarySecondary X", WmiValue::UInt32(0))}, " X   0 MB"},
        {{Video("First", WmiValue::UInt32(128u << 20)), Video("Second", WmiValue::UInt32(512u << 20))},
         "Second   512 MB"},
        {{{{"Caption", WmiValue::String("No memory")}}}, "No memory   0 MB"},
        // A double-byte character whose second byte is 'S' does not start a match.
        {{Video("\xB0Secondary", WmiValue::UInt32(0))}, "\xB0Secondary   0 MB"},
    };
    for (const Case& c : cases) {
        wmi.classes["Win32_VideoController"] = c.objects;
        auto queries = Queries();
        EXPECT_EQ(queries.WmiClassQuery("Win32_VideoController", WmiKind::VideoController),
                  c.expected);
    }
}

TEST_F(HardwareInventoryTest, DiskModelComesFromTheFirstDiskOnly) {
    wmi.classes["Win32_DiskDrive"] = {{{"Caption", WmiValue::String("  WDC WD5000AAKS-00V1A0")}},
                                      {{"Caption", WmiValue::String("Second Disk")}}};
    auto queries = Queries();
    EXPECT_EQ(queries.WmiClassQuery("Win32_DiskDrive", WmiKind::DiskDrive), std::nullopt);
    EXPECT_EQ(queries.DiskModel(), "WDC WD5000AAKS-00V1A0");
    EXPECT_EQ(wmi.Runs().back().objectsHanded, 1);

    // Without a Caption property (as Wine reports disks) the model is empty.
    wmi.classes["Win32_DiskDrive"] = {{{"Model", WmiValue::String("QEMU HARDDISK")}}};
    auto other = Queries();
    other.WmiClassQuery("Win32_DiskDrive", WmiKind::DiskDrive);
    EXPECT_EQ(other.DiskModel(), "");
}

TEST_F(HardwareInventoryTest, FailedQueryRunsGiveNoText) {
    wmi.classes["Win32_Processor"] = {Processor("CPU", 1000)};
    wmi.classes["Win32_DiskDrive"] = {{{"Caption", WmiValue::String("Disk")}}};
    wmi.failing = {"Win32_Processor", "Win32_DiskDrive"};
    auto queries = Queries();
    EXPECT_EQ(queries.WmiClassQuery("Win32_Processor", WmiKind::Processor), std::nullopt);
    queries.WmiClassQuery("Win32_DiskDrive", WmiKind::DiskDrive);
    EXPECT_EQ(queries.DiskModel(), "");
}

TEST_F(HardwareInventoryTest, MemoryIsWholeMegabytesPlusOne) {
    const std::pair<std::uint64_t, std::string> cases[] = {
        {2 * kGiB, "物理 2049 MB "},
        {2 * kGiB - 520 * 1024, "物理 2048 MB "},
        {512 * kMiB + 1, "物理 513 MB "},
        {16 * kGiB, "物理 16385 MB "},
        {0, "物理 1 MB "},
    };
    for (const auto& [bytes, expected] : cases) {
        probe.physicalMemory = bytes;
        EXPECT_EQ(Inventory().MemoryText(), expected) << bytes;
    }
    probe.physicalMemory.reset();
    EXPECT_EQ(Inventory().MemoryText(), "");
}

TEST_F(HardwareInventoryTest, SoundNamesTheFirstDeviceOnly) {
    EXPECT_EQ(Inventory().SoundText(), "没有发现声音设备");
    EXPECT_EQ(std::string(kNoSoundDeviceText), "没有发现声音设备");
    probe.soundDevices = {{"Realtek HD Audio output", true}, {"USB Audio", true}};
    EXPECT_EQ(Inventory().SoundText(), "Realtek HD Audio output");
    probe.soundDevices = {{"A product name longer than thirty-one characters", true}};
    EXPECT_EQ(Inventory().SoundText(), "A product name longer than thir");
    probe.soundDevices = {{"Unreadable", false}};
    EXPECT_EQ(Inventory().SoundText(), "");
}

TEST_F(HardwareInventoryTest, HardDiskTotalsFixedVolumesCToZ) {
    AddFixed("A:\\", 100 * kGiB);  // never looked at
    AddFixed("B:\\", 100 * kGiB);
    AddFixed("C:\\", 100 * kGiB);
    AddFixed("D:\\", 50 * kGiB);
    AddFixed("E:\\", 700 * kMiB, kDriveCdRom);
    AddFixed("F:\\", 8 * kGiB, kDriveRemovable);
    AddFixed("G:\\", 40 * kGiB, kDriveRemote);
    wmi.classes["Win32_DiskDrive"] = {{{"Caption", WmiValue::String("ST3500418AS")}}};
    auto queries = Queries();
    queries.WmiClassQuery("Win32_DiskDrive", WmiKind::DiskDrive);
    auto inventory = Inventory();
    EXPECT_EQ(inventory.HardDiskText(queries.DiskModel()), "ST3500418AS  总容量 150 GB");

    AddFixed("Z:\\", 1023 * kMiB);  // whole GiB of the sum, rounded down
    AddFixed("Y:\\", 1 * kMiB);
    EXPECT_EQ(inventory.HardDiskText(queries.DiskModel()), "ST3500418AS  总容量 151 GB");

    FakeDrives::Drive unreadable;
    unreadable.spaceKnown = false;
    drives.Set("H:\\", unreadable);
    EXPECT_EQ(inventory.HardDiskText(queries.DiskModel()), "ST3500418AS  总容量 151 GB");
}

TEST_F(HardwareInventoryTest, HardDiskWithoutModelBeginsWithTwoSpaces) {
    AddFixed("C:\\", 20 * kGiB);
    EXPECT_EQ(Inventory().HardDiskText(""), "  总容量 20 GB");
    drives.Remove("C:\\");
    EXPECT_EQ(Inventory().HardDiskText(""), "  总容量 0 GB");
}

TEST_F(HardwareInventoryTest, DriveTotalMegabytesShiftsTheByteCount) {
    AddFixed("C:\\", 100 * kGiB + kMiB - 1);
    EXPECT_EQ(DriveTotalMegabytes(drives, "C:\\"), 102400u);
    EXPECT_EQ(DriveTotalMegabytes(drives, "Q:\\"), 0u);
}

TEST_F(HardwareInventoryTest, OpticalDrivesOneLineEach) {
    EXPECT_EQ(Inventory().OpticalDrivesText(), "");  // no CD-ROM driver key

    RegKey cdrom = Key("SYSTEM\\CurrentControlSet\\Services\\Cdrom\\Enum");
    EXPECT_EQ(Inventory().OpticalDrivesText(), "");  // no Count
    cdrom.SetDword("Count", 2);
    cdrom.SetString("0", "IDE\\CdRomHL-DT-ST_DVDRAM\\5&1a2b&0&1.0.0");
    cdrom.SetString("1", "USBSTOR\\CdRom&Ven_ASUS\\0001");
    Key("SYSTEM\\CurrentControlSet\\Enum\\IDE\\CdRomHL-DT-ST_DVDRAM\\5&1a2b&0&1.0.0")
        .SetString("FriendlyName", "HL-DT-ST DVDRAM GH22NS50 ATA Device");
    Key("SYSTEM\\CurrentControlSet\\Enum\\USBSTOR\\CdRom&Ven_ASUS\\0001")
        .SetString("FriendlyName", "ASUS SDRW-08D2S-U USB Device");
    EXPECT_EQ(Inventory().OpticalDrivesText(),
              "HL-DT-ST DVDRAM GH22NS50 ATA Device\nASUS SDRW-08D2S-U USB Device\n");

    // Without a friendly name, or without a device key, the instance path.
    RegKey::Open(registry, kHkeyLocalMachine,
                 "SYSTEM\\CurrentControlSet\\Enum\\USBSTOR\\CdRom&Ven_ASUS\\0001", kKeyAllAccess)
        .DeleteValue("FriendlyName");
    cdrom.SetDword("Count", 3);
    cdrom.SetString("2", "SCSI\\CdRom&Ven_Gone\\1");
    EXPECT_EQ(Inventory().OpticalDrivesText(),
              "HL-DT-ST DVDRAM GH22NS50 ATA Device\nUSBSTOR\\CdRom&Ven_ASUS\\0001\n"
              "SCSI\\CdRom&Ven_Gone\\1\n");

    // A friendly name too long for the 512-byte buffer leaves the path.
    Key("SYSTEM\\CurrentControlSet\\Enum\\SCSI\\CdRom&Ven_Gone\\1")
        .SetString("FriendlyName", std::string(600, 'x'));
    EXPECT_EQ(Inventory().OpticalDrivesText(),
              "HL-DT-ST DVDRAM GH22NS50 ATA Device\nUSBSTOR\\CdRom&Ven_ASUS\\0001\n"
              "SCSI\\CdRom&Ven_Gone\\1\n");

    // A counted entry that is missing names no drive.
    cdrom.SetDword("Count", 4);
    EXPECT_EQ(Inventory().OpticalDrivesText(),
              "HL-DT-ST DVDRAM GH22NS50 ATA Device\nUSBSTOR\\CdRom&Ven_ASUS\\0001\n"
              "SCSI\\CdRom&Ven_Gone\\1\n");
    cdrom.Close();
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace tv
