// What the service-control contract tests run against: the fake natively,
// the service control manager under Wine. Both offer a service that is
// stopped at the start and can be started and stopped again.
#pragma once

#include <memory>
#include <string>

#include "platform/ServiceControl.h"
#include "platform/ServiceDatabase.h"

struct ServicesUnderTest {
    std::unique_ptr<tv::ServiceControl> services;
    std::string stoppedService;
    // The service manager itself; `stoppedService` is in it too.
    std::unique_ptr<tv::ServiceDatabase> database;
    virtual ~ServicesUnderTest() = default;
};

std::unique_ptr<ServicesUnderTest> MakeServicesUnderTest();
