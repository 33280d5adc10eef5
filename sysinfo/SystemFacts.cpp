#include "sysinfo/SystemFacts.h"

#include <cstdio>

namespace tv {

const char kAdminRightsText[] = "   [Admin 管理权限]";
const char kUserRightsText[] = "   [User 客户权限]";
const char kUnknownBootModeText[] = "未知";

namespace {

constexpr std::uint32_t kPlatform9x = 1;
constexpr std::uint32_t kPlatformNt = 2;
constexpr std::uint8_t kWorkstation = 1;

std::string WithBuild(const char* edition, std::uint32_t build) {
    char text[96];
    std::snprintf(text, sizeof text, "%s [Build %d]", edition, static_cast<int>(build));
    return text;
}

const char* NtEdition(const VersionRecord& v) {
    if (v.major == 5) {
        switch (v.minor) {
        case 0: return "Windows 2000";
        case 1: return "Windows XP";
        case 2: return "Windows Server 2003";
        default: return nullptr;
        }
    }
    if (v.major == 6) {
        if (v.minor == 0) return v.productType == kWorkstation ? "Windows Vista" : "Windows Server 2008";
        if (v.minor == 1 && v.productType == kWorkstation) return "Windows 7";
    }
    return nullptr;
}

}  // namespace

std::string OsNameText(const VersionRecord& version) {
    if (version.platformId == kPlatform9x) return "Windows 9X/Me";
    if (version.platformId != kPlatformNt) return {};
    const char* edition = NtEdition(version);
    return edition ? WithBuild(edition, version.build) : std::string();
}

std::string UptimeText(std::uint64_t milliseconds) {
    const std::uint64_t hours = milliseconds / 3600000;
    const std::uint64_t minutes = (milliseconds / 60000) % 60;
    char text[64];
    std::snprintf(text, sizeof text, "%lu 小时 %lu 分钟", static_cast<unsigned long>(hours),
                  static_cast<unsigned long>(minutes));
    return text;
}

std::string BootModeText(int cleanBoot) {
    switch (cleanBoot) {
    case 0: return "  [正常模式登录]";
    case 1: return "  [安全模式登录]";
    case 2: return "  [安全模式登录 (网络支持)]";
    default: return kUnknownBootModeText;
    }
}

bool HasAdministratorsGroup(const std::vector<TokenGroup>& groups) {
    // S-1-5-32-544: NT authority, built-in domain, administrators alias.
    const SecurityId administrators{5, {32, 544}};
    for (const TokenGroup& group : groups)
        if (group.sid == administrators) return true;
    return false;
}

std::string SystemFacts::OsName() const {
    VersionRecord version;
    if (!probe_.Version(&version)) version = VersionRecord{};
    return OsNameText(version);
}

std::string SystemFacts::ServicePack() const {
    VersionRecord version;
    if (!probe_.Version(&version)) version = VersionRecord{};
    char text[32];
    std::snprintf(text, sizeof text, "Service Pack %d", static_cast<int>(version.servicePackMajor));
    return text;
}

std::string SystemFacts::ComputerName() const {
    std::string name;
    return probe_.ComputerName(&name) ? name : std::string();
}

std::string SystemFacts::UserName() const {
    std::string name;
    return probe_.UserName(&name) ? name : std::string();
}

std::string SystemFacts::Uptime() const {
    // The 32-bit counter wraps after about 49.7 days; the 64-bit one does
    // not, so it is preferred where the platform has it.
    std::uint64_t milliseconds = 0;
    if (!probe_.TickCount64(&milliseconds)) milliseconds = probe_.TickCount();
    return UptimeText(milliseconds);
}

std::string SystemFacts::UserRights() const {
    std::vector<TokenGroup> groups;
    if (!probe_.TokenGroups(&groups)) return kUserRightsText;
    return HasAdministratorsGroup(groups) ? kAdminRightsText : kUserRightsText;
}

std::string SystemFacts::BootMode() const { return BootModeText(probe_.CleanBootMetric()); }

}  // namespace tv
