// The seven system facts over a fake system: every decision table row and
// every fallback.
#include <gtest/gtest.h>

#include "platform/fake/FakeSystemProbe.h"
#include "sysinfo/SystemFacts.h"

namespace tv {
namespace {

struct OsCase {
    VersionRecord version;
    std::string expected;
};

TEST(SystemFacts, OsNameByPlatformVersionAndProductType) {
    const OsCase cases[] = {
        {{1, 4, 10, 2222, 0, 0}, "Windows 9X/Me"},
        {{1, 6, 1, 7601, 0, 1}, "Windows 9X/Me"},
        {{2, 5, 0, 2195, 4, 1}, "Windows 2000 [Build 2195]"},
        {{2, 5, 0, 2195, 4, 3}, "Windows 2000 [Build 2195]"},
        {{2, 5, 1, 2600, 3, 1}, "Windows XP [Build 2600]"},
        {{2, 5, 2, 3790, 2, 3}, "Windows Server 2003 [Build 3790]"},
        {{2, 5, 2, 3790, 2, 1}, "Windows Server 2003 [Build 3790]"},
        {{2, 6, 0, 6002, 2, 1}, "Windows Vista [Build 6002]"},
        {{2, 6, 0, 6002, 2, 2}, "Windows Server 2008 [Build 6002]"},
        {{2, 6, 0, 6001, 1, 3}, "Windows Server 2008 [Build 6001]"},
        {{2, 6, 1, 7600, 0, 1}, "Windows 7 [Build 7600]"},
        {{2, 6, 1, 7601, 1, 1}, "Windows 7 [Build 7601]"},
        {{2, 6, 1, 7600, 0, 3}, ""},   // server edition of 6.1
        {{2, 6, 1, 7600, 0, 2}, ""},
        {{2, 5, 3, 4000, 0, 1}, ""},   // 5.x with minor 3 or more
        {{2, 6, 2, 9200, 0, 1}, ""},   // 6.2 and later
        {{2, 6, 3, 9600, 0, 1}, ""},
        {{2, 10, 0, 19045, 0, 1}, ""},
        {{2, 4, 0, 1381, 6, 1}, ""},   // NT 4
        {{0, 6, 1, 7601, 1, 1}, ""},   // other platform ids
        {{3, 5, 1, 2600, 0, 1}, ""},
    };
    for (const OsCase& c : cases) {
        FakeSystemProbe probe;
        probe.version = c.version;
        EXPECT_EQ(SystemFacts(probe).OsName(), c.expected)
            << c.version.platformId << " " << c.version.major << "." << c.version.minor << " type "
            << int(c.version.productType);
    }
    FakeSystemProbe failing;
    failing.version.reset();
    EXPECT_EQ(SystemFacts(failing).OsName(), "");
}

TEST(SystemFacts, ServicePackShowsTheMajorNumberOnly) {
    const std::pair<std::uint16_t, std::string> cases[] = {
        {0, "Service Pack 0"}, {1, "Service Pack 1"}, {3, "Service Pack 3"}, {12, "Service Pack 12"}};
    for (const auto& [major, expected] : cases) {
        FakeSystemProbe probe;
        probe.version = VersionRecord{2, 5, 1, 2600, major, 1};
        EXPECT_EQ(SystemFacts(probe).ServicePack(), expected);
    }
    FakeSystemProbe failing;
    failing.version.reset();
    EXPECT_EQ(SystemFacts(failing).ServicePack(), "Service Pack 0");
}

TEST(SystemFacts, NamesAreThePlatformsOrEmpty) {
    FakeSystemProbe probe;
    probe.computerName = "\xD6\xD0\xCE\xC4-PC";  // 中文-PC
    probe.userName = "Administrator";
    EXPECT_EQ(SystemFacts(probe).ComputerName(), "\xD6\xD0\xCE\xC4-PC");
    EXPECT_EQ(SystemFacts(probe).UserName(), "Administrator");
    probe.computerName.reset();
    probe.userName.reset();
    EXPECT_EQ(SystemFacts(probe).ComputerName(), "");
    EXPECT_EQ(SystemFacts(probe).UserName(), "");
}

TEST(SystemFacts, UptimeInHoursAndMinutes) {
    const std::pair<std::uint64_t, std::string> cases[] = {
        {0, "0 小时 0 分钟"},
        {59999, "0 小时 0 分钟"},
        {60000, "0 小时 1 分钟"},
        {5430000, "1 小时 30 分钟"},
        {3599999, "0 小时 59 分钟"},
        {90000000, "25 小时 0 分钟"},
        {108000000, "30 小时 0 分钟"},  // no day unit
        // Past the 32-bit counter's wrap (49.7 days): still the true uptime.
        {4294967296ull + 3600000, "1194 小时 2 分钟"},
        {100ull * 24 * 3600000, "2400 小时 0 分钟"},
    };
    for (const auto& [ms, expected] : cases) {
        FakeSystemProbe probe;
        probe.tickCount64 = ms;
        probe.tickCount = static_cast<std::uint32_t>(ms);
        EXPECT_EQ(SystemFacts(probe).Uptime(), expected) << ms;
    }
}

TEST(SystemFacts, UptimeFallsBackToThe32BitCounter) {
    FakeSystemProbe probe;
    probe.tickCount64.reset();
    probe.tickCount = 5430000;
    EXPECT_EQ(SystemFacts(probe).Uptime(), "1 小时 30 分钟");
    probe.tickCount = 0xFFFFFFFFu;
    EXPECT_EQ(SystemFacts(probe).Uptime(), "1193 小时 2 分钟");
}

struct RightsCase {
    const char* name;
    std::optional<std::vector<TokenGroup>> groups;
    const char* expected;
};

TEST(SystemFacts, UserRightsLookForTheAdministratorsGroupInAnyState) {
    const SecurityId everyone{1, {0}};
    const SecurityId users{5, {32, 545}};
    const SecurityId admins{5, {32, 544}};
    const SecurityId lookalikeAuthority{16, {32, 544}};  // same RIDs, other authority
    const SecurityId longer{5, {32, 544, 1}};
    const SecurityId domainAdmins{5, {21, 1, 2, 3, 512}};
    std::vector<TokenGroup> many;
    // A token with many groups (more than 1024 bytes of group list).
    for (std::uint32_t i = 0; i < 80; ++i) many.push_back({{5, {21, 100, 200, 300, 1000 + i}}, 7});
    std::vector<TokenGroup> manyWithAdmins = many;
    manyWithAdmins.push_back({admins, kGroupEnabled});

    const RightsCase cases[] = {
        {"enabled", std::vector<TokenGroup>{{everyone, 7}, {admins, 0xF}}, kAdminRightsText},
        {"deny only", std::vector<TokenGroup>{{everyone, 7}, {admins, kGroupUseForDenyOnly}, {users, 7}},
         kAdminRightsText},
        {"disabled", std::vector<TokenGroup>{{admins, 0}}, kAdminRightsText},
        {"absent", std::vector<TokenGroup>{{everyone, 7}, {users, 7}, {domainAdmins, 7}}, kUserRightsText},
        {"look-alikes", std::vector<TokenGroup>{{lookalikeAuthority, 7}, {longer, 7}, {{5, {32}}, 7}},
         kUserRightsText},
        {"no groups", std::vector<TokenGroup>{}, kUserRightsText},
        {"token unreadable", std::nullopt, kUserRightsText},
        {"many groups, admin last", manyWithAdmins, kAdminRightsText},
        {"many groups, no admin", many, kUserRightsText},
    };
    for (const RightsCase& c : cases) {
        FakeSystemProbe probe;
        probe.tokenGroups = c.groups;
        EXPECT_EQ(SystemFacts(probe).UserRights(), c.expected) << c.name;
    }
    EXPECT_EQ(std::string(kAdminRightsText), "   [Admin 管理权限]");
    EXPECT_EQ(std::string(kUserRightsText), "   [User 客户权限]");
}

TEST(SystemFacts, BootModeByCleanBootMetric) {
    const std::pair<int, std::string> cases[] = {
        {0, "  [正常模式登录]"},
        {1, "  [安全模式登录]"},
        {2, "  [安全模式登录 (网络支持)]"},
        {3, "未知"},
        {-1, "未知"},
        {67, "未知"},
    };
    for (const auto& [metric, expected] : cases) {
        FakeSystemProbe probe;
        probe.cleanBoot = metric;
        EXPECT_EQ(SystemFacts(probe).BootMode(), expected) << metric;
    }
}

}  // namespace
}  // namespace tv
