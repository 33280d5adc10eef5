#include "tests/contract/ServicesUnderTest.h"

#include "platform/fake/FakeServiceControl.h"

std::unique_ptr<ServicesUnderTest> MakeServicesUnderTest() {
    auto under = std::make_unique<ServicesUnderTest>();
    auto services = std::make_unique<tv::FakeServiceControl>();
    services->Set("Spooler", tv::kServiceStopped);
    under->services = std::move(services);
    under->stoppedService = "Spooler";
    return under;
}
