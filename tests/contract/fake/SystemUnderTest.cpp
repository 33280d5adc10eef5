#include "tests/contract/SystemUnderTest.h"

#include "platform/fake/FakeSystemProbe.h"
#include "platform/fake/FakeWmi.h"

namespace {

struct FakeSystem : SystemUnderTest {
    FakeSystem() {
        auto p = std::make_unique<tv::FakeSystemProbe>();
        p->tickCount64 = 86400000ull * 60 + 1234;  // 60 days: past the 32-bit wrap
        p->tickCount = static_cast<std::uint32_t>(*p->tickCount64);
        probe = std::move(p);
        auto w = std::make_unique<tv::FakeWmi>();
        w->classes["Win32_Processor"] = {
            {{"Name", tv::WmiValue::String("Intel(R) Core(TM) i5 CPU")},
             {"CurrentClockSpeed", tv::WmiValue::Int32(2400)}}};
        w->classes["Win32_DiskDrive"] = {{{"Model", tv::WmiValue::String("Disk A")}},
                                         {{"Model", tv::WmiValue::String("Disk B")}}};
        w->classes["Win32_VideoController"] = {
            {{"Caption", tv::WmiValue::String("VideoController1")},
             {"AdapterRAM", tv::WmiValue::Int32(64 << 20)}}};
        wmi = std::move(w);
    }
};

}  // namespace

std::unique_ptr<SystemUnderTest> MakeSystemUnderTest() { return std::make_unique<FakeSystem>(); }
