#include "sysinfo/HardwareInventory.h"

#include <cstdio>
#include <vector>

#include "platform/CodePageText.h"

namespace tv {

const char kNoSoundDeviceText[] = "没有发现声音设备";

namespace {

const char kCdromEnumPath[] = "SYSTEM\\CurrentControlSet\\Services\\Cdrom\\Enum";
const char kDeviceEnumPath[] = "SYSTEM\\CurrentControlSet\\Enum";
constexpr std::uint32_t kInstanceBufferSize = 512;

// An absent string property reads as empty text, an absent number as 0.
std::string StringProperty(const WmiObject& object, const char* name) {
    auto it = object.find(name);
    return it != object.end() && it->second.kind == WmiValue::Kind::String ? it->second.text
                                                                           : std::string();
}

std::uint32_t NumberBits(const WmiObject& object, const char* name) {
    auto it = object.find(name);
    if (it == object.end()) return 0;
    const WmiValue& value = it->second;
    return value.kind == WmiValue::Kind::Int32 || value.kind == WmiValue::Kind::UInt32 ? value.bits
                                                                                        : 0;
}

std::string TrimLeadingSpace(const std::string& text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n\v\f");
    return start == std::string::npos ? std::string() : text.substr(start);
}

}  // namespace

std::string ProcessorText(const WmiObject& object) {
    char speed[32];
    std::snprintf(speed, sizeof speed, "%d MHz",
                  static_cast<int>(static_cast<std::int32_t>(NumberBits(object, "CurrentClockSpeed"))));
    return TrimLeadingSpace(StringProperty(object, "Name")) + "  " + speed;
}

std::string VideoControllerText(const WmiObject& object) {
    std::string caption = text::ReplaceAll(StringProperty(object, "Caption"), "Secondary", "");
    caption = text::ReplaceAll(caption, "(Microsoft Corporation - WDDM)", "(WDDM)");
    // The adapter memory is an unsigned byte count, whatever the variant
    // type it arrives in: 4095 MiB stays positive.
    char memory[32];
    std::snprintf(memory, sizeof memory, "   %lu MB",
                  static_cast<unsigned long>(NumberBits(object, "AdapterRAM") / 1048576u));
    return caption + memory;
}

std::string DiskModelText(const WmiObject& object) {
    return TrimLeadingSpace(StringProperty(object, "Caption"));
}

std::optional<std::string> HardwareQueries::WmiClassQuery(const std::string& className, WmiKind kind,
                                                          const std::function<bool()>& stop) {
    std::vector<std::string> properties;
    switch (kind) {
    case WmiKind::Processor: properties = {"Name", "CurrentClockSpeed"}; break;
    case WmiKind::VideoController: properties = {"Caption", "AdapterRAM"}; break;
    case WmiKind::DiskDrive: properties = {"Caption"}; break;
    }
    std::optional<std::string> text;
    const bool ran = wmi_.Query("SELECT * FROM " + className, properties,
                                [&](const WmiObject& object) {
                                    switch (kind) {
                                    case WmiKind::Processor:
                                        text = ProcessorText(object);
                                        return true;
                                    case WmiKind::VideoController:
                                        text = VideoControllerText(object);
                                        return true;
                                    case WmiKind::DiskDrive:
                                        diskModel_ = DiskModelText(object);
                                        return false;  // the first disk only
                                    }
                                    return false;
                                },
                                stop);
    if (!ran || kind == WmiKind::DiskDrive) return std::nullopt;
    return text;
}

std::string HardwareInventory::MemoryText() const {
    std::uint64_t bytes = 0;
    if (!probe_.TotalPhysicalMemory(&bytes)) return {};
    const auto megabytes = static_cast<std::uint32_t>((bytes >> 20) + 1);
    char text[48];
    std::snprintf(text, sizeof text, "物理 %lu MB ", static_cast<unsigned long>(megabytes));
    return text;
}

std::string HardwareInventory::SoundText() const {
    if (probe_.WaveOutDeviceCount() == 0) return kNoSoundDeviceText;
    std::string name;
    return probe_.WaveOutDeviceName(0, &name) ? name : std::string();
}

std::string HardwareInventory::OpticalDrivesText() const {
    RegKey cdrom = RegKey::Open(registry_, kHkeyLocalMachine, kCdromEnumPath, kKeyRead);
    RegKey devices = RegKey::Open(registry_, kHkeyLocalMachine, kDeviceEnumPath, kKeyRead);
    if (!cdrom) return {};
    // The count is read whatever its stored type, as 4 bytes.
    unsigned char bytes[4] = {};
    std::uint32_t size = sizeof bytes;
    std::uint32_t count = 0;
    if (cdrom.Query("Count", nullptr, bytes, &size) == kErrorSuccess && size == sizeof bytes)
        count = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    std::string lines;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string line;
        // A listed number without its entry names no device.
        if (!cdrom.ReadString(std::to_string(i), kInstanceBufferSize, &line) || line.empty())
            continue;
        if (devices) {
            RegKey device = RegKey::Open(registry_, devices.Handle(), line, kKeyRead);
            std::string friendly;
            if (device && device.ReadString("FriendlyName", kInstanceBufferSize, &friendly))
                line = friendly;
        }
        lines += line + "\n";
    }
    return lines;
}

std::string HardwareInventory::HardDiskText(const std::string& diskModel) const {
    std::uint32_t megabytes = 0;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        if (drives_.DriveType(root) == kDriveFixed) megabytes += DriveTotalMegabytes(drives_, root);
    }
    char capacity[48];
    std::snprintf(capacity, sizeof capacity, "  总容量 %lu GB",
                  static_cast<unsigned long>(megabytes / 1024));
    return diskModel + capacity;
}

std::uint32_t DriveTotalMegabytes(const Drives& drives, const std::string& root) {
    DriveSpace space;
    if (!drives.Space(root, &space)) return 0;
    return static_cast<std::uint32_t>(space.total >> 20);
}

}  // namespace tv
