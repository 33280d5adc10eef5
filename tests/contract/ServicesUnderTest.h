// What the service-control contract tests run against: the fake natively,
// the service control manager under Wine. Both offer a service that is
// stopped at the start and can be started and stopped again.
#pragma once

#include <memory>
#include <string>

#include "platform/ServiceControl.h"

struct ServicesUnderTest {
    std::unique_ptr<tv::ServiceControl> services;
    std::string stoppedService;
    virtual ~ServicesUnderTest() = default;
};

std::unique_ptr<ServicesUnderTest> MakeServicesUnderTest();
