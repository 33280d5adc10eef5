// What the system-probe and management-query contract tests run against:
// fakes set up like a plain machine natively, the Win32 adapters under Wine.
#pragma once

#include <memory>

#include "platform/SystemProbe.h"
#include "platform/Wmi.h"

struct SystemUnderTest {
    std::unique_ptr<tv::SystemProbe> probe;
    std::unique_ptr<tv::Wmi> wmi;
    virtual ~SystemUnderTest() = default;
};

std::unique_ptr<SystemUnderTest> MakeSystemUnderTest();
