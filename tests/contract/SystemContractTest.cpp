// The system probe and the management queries behave alike over the fakes
// and the real system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/contract/SystemUnderTest.h"

namespace {

using tv::WmiObject;
using tv::WmiValue;

class SystemContract : public ::testing::Test {
protected:
    void SetUp() override { t = MakeSystemUnderTest(); }
    // The objects of a query, stopping after `limit` (0: all).
    bool Collect(const std::string& wql, const std::vector<std::string>& properties,
                 std::vector<WmiObject>* objects, size_t limit = 0) {
        objects->clear();
        return t->wmi->Query(wql, properties, [&](const WmiObject& o) {
            objects->push_back(o);
            return limit == 0 || objects->size() < limit;
        }, {});
    }
    std::unique_ptr<SystemUnderTest> t;
};

TEST_F(SystemContract, VersionRecordOfAnNtSystem) {
    tv::VersionRecord v;
    ASSERT_TRUE(t->probe->Version(&v));
    EXPECT_EQ(v.platformId, 2u);
    EXPECT_GE(v.major, 5u);
    EXPECT_GT(v.build, 0u);
    EXPECT_GE(v.productType, 1u);
    EXPECT_LE(v.productType, 3u);
}

TEST_F(SystemContract, NamesAreShortTextsWithoutNul) {
    std::string computer, user;
    ASSERT_TRUE(t->probe->ComputerName(&computer));
    ASSERT_TRUE(t->probe->UserName(&user));
    for (const std::string& name : {computer, user}) {
        EXPECT_FALSE(name.empty());
        EXPECT_LT(name.size(), 260u);
        EXPECT_EQ(name.find('\0'), std::string::npos);
    }
}

TEST_F(SystemContract, TheTwoTickCountersAgree) {
    std::uint64_t wide = 0;
    const std::uint32_t narrow = t->probe->TickCount();
    if (!t->probe->TickCount64(&wide)) GTEST_SKIP() << "no 64-bit counter on this platform";
    EXPECT_LE(static_cast<std::uint32_t>(wide) - narrow, 1000u);
    EXPECT_GE(wide, narrow);
}

TEST_F(SystemContract, TokenGroupsHoldEveryone) {
    std::vector<tv::TokenGroup> groups;
    ASSERT_TRUE(t->probe->TokenGroups(&groups));
    bool everyone = false;
    for (const auto& g : groups) everyone = everyone || g.sid == tv::SecurityId{1, {0}};
    EXPECT_TRUE(everyone);
}

TEST_F(SystemContract, CleanBootIsAKnownModeAndMemoryIsThere) {
    const int mode = t->probe->CleanBootMetric();
    EXPECT_TRUE(mode == 0 || mode == 1 || mode == 2) << mode;
    std::uint64_t bytes = 0;
    ASSERT_TRUE(t->probe->TotalPhysicalMemory(&bytes));
    EXPECT_GT(bytes, 64ull << 20);
}

TEST_F(SystemContract, SoundDevicesAreNamedOnlyWhenTheyExist) {
    const unsigned count = t->probe->WaveOutDeviceCount();
    std::string name;
    EXPECT_FALSE(t->probe->WaveOutDeviceName(count, &name));
    if (count > 0) {
        ASSERT_TRUE(t->probe->WaveOutDeviceName(0, &name));
        EXPECT_FALSE(name.empty());
        EXPECT_LE(name.size(), 31u);
    }
}

TEST_F(SystemContract, ProcessorQueryGivesNameAndSpeed) {
    std::vector<WmiObject> objects;
    ASSERT_TRUE(Collect("SELECT * FROM Win32_Processor", {"Name", "CurrentClockSpeed", "NoSuchProperty"},
                        &objects));
    ASSERT_GE(objects.size(), 1u);
    for (const WmiObject& o : objects) {
        ASSERT_EQ(o.size(), 3u);
        EXPECT_EQ(o.at("Name").kind, WmiValue::Kind::String);
        EXPECT_FALSE(o.at("Name").text.empty());
        const auto speed = o.at("CurrentClockSpeed").kind;
        EXPECT_TRUE(speed == WmiValue::Kind::Int32 || speed == WmiValue::Kind::UInt32);
        EXPECT_EQ(o.at("NoSuchProperty").kind, WmiValue::Kind::Absent);
    }
}

TEST_F(SystemContract, VideoAdapterMemoryIsAnInteger) {
    std::vector<WmiObject> objects;
    ASSERT_TRUE(Collect("SELECT * FROM Win32_VideoController", {"Caption", "AdapterRAM"}, &objects));
    ASSERT_GE(objects.size(), 1u);
    EXPECT_EQ(objects[0].at("Caption").kind, WmiValue::Kind::String);
    const auto ram = objects[0].at("AdapterRAM").kind;
    EXPECT_TRUE(ram == WmiValue::Kind::Int32 || ram == WmiValue::Kind::UInt32);
}

TEST_F(SystemContract, EnumerationStopsWhenAsked) {
    std::vector<WmiObject> all, first;
    ASSERT_TRUE(Collect("SELECT * FROM Win32_DiskDrive", {"Model"}, &all));
    ASSERT_GE(all.size(), 1u);
    ASSERT_TRUE(Collect("SELECT * FROM Win32_DiskDrive", {"Model"}, &first, 1));
    EXPECT_EQ(first.size(), 1u);
}

TEST_F(SystemContract, QueriesRunAgainAndAgain) {
    // Each run sets COM up and tears it down by itself.
    for (int run = 0; run < 3; ++run) {
        std::vector<WmiObject> objects;
        ASSERT_TRUE(Collect("SELECT * FROM Win32_Processor", {"Name"}, &objects)) << run;
        EXPECT_GE(objects.size(), 1u);
    }
}

TEST_F(SystemContract, AnUnknownClassGivesNoObject) {
    std::vector<WmiObject> objects;
    Collect("SELECT * FROM Win32_NoSuchClassAtAll", {"Name"}, &objects);
    EXPECT_TRUE(objects.empty());
}

}  // namespace
