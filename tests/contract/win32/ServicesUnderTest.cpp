#include "tests/contract/ServicesUnderTest.h"

#include "platform/win32/Win32ServiceControl.h"
#include "platform/win32/Win32ServiceDatabase.h"

// Wine's print spooler is stopped in a fresh prefix and starts and stops
// on request.
std::unique_ptr<ServicesUnderTest> MakeServicesUnderTest() {
    auto under = std::make_unique<ServicesUnderTest>();
    under->services = std::make_unique<tv::Win32ServiceControl>();
    under->stoppedService = "Spooler";
    under->database = std::make_unique<tv::Win32ServiceDatabase>();
    return under;
}
