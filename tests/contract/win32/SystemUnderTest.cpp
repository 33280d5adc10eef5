#include "tests/contract/SystemUnderTest.h"

#include "platform/win32/Win32SystemProbe.h"
#include "platform/win32/Win32Wmi.h"

namespace {

struct RealSystem : SystemUnderTest {
    RealSystem() {
        probe = std::make_unique<tv::Win32SystemProbe>();
        wmi = std::make_unique<tv::Win32Wmi>();
    }
};

}  // namespace

std::unique_ptr<SystemUnderTest> MakeSystemUnderTest() { return std::make_unique<RealSystem>(); }
