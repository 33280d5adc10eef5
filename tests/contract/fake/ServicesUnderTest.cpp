#include "tests/contract/ServicesUnderTest.h"

#include "platform/fake/FakeServiceControl.h"
#include "platform/fake/FakeServiceDatabase.h"

std::unique_ptr<ServicesUnderTest> MakeServicesUnderTest() {
    auto under = std::make_unique<ServicesUnderTest>();
    auto services = std::make_unique<tv::FakeServiceControl>();
    services->Set("Spooler", tv::kServiceStopped);
    under->services = std::move(services);
    under->stoppedService = "Spooler";
    auto database = std::make_unique<tv::FakeServiceDatabase>();
    database->Add("Spooler", "Print Spooler", "C:\\windows\\system32\\spoolsv.exe")
        .config.startType = tv::kServiceDemandStart;
    under->database = std::move(database);
    return under;
}
