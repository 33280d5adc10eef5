// Seven facts about the running system as ready-to-show texts. Each call
// reads the platform afresh and always returns a text: a failed read gives
// the fact's fallback.
#pragma once

#include <string>

#include "platform/SystemProbe.h"

namespace tv {

extern const char kAdminRightsText[];
extern const char kUserRightsText[];
extern const char kUnknownBootModeText[];

class SystemFacts {
public:
    explicit SystemFacts(const SystemProbe& probe) : probe_(probe) {}

    // Edition and build ("Windows 7 [Build 7601]"); empty for editions the
    // program does not know.
    std::string OsName() const;
    // "Service Pack N" with the major number (0 without one).
    std::string ServicePack() const;
    std::string ComputerName() const;
    std::string UserName() const;
    // "H 小时 M 分钟" since system start; hours keep counting past a day.
    std::string Uptime() const;
    // Three spaces and the Admin or User text.
    std::string UserRights() const;
    // Two spaces and the boot mode, or "未知".
    std::string BootMode() const;

private:
    const SystemProbe& probe_;
};

// The texts, from the platform's raw values.
std::string OsNameText(const VersionRecord& version);
std::string UptimeText(std::uint64_t milliseconds);
std::string BootModeText(int cleanBoot);
// True when one of the groups is the built-in Administrators group, in any
// state (enabled, disabled or deny-only).
bool HasAdministratorsGroup(const std::vector<TokenGroup>& groups);

}  // namespace tv
