// One service's state, stop and start: the fake and the service control
// manager must agree.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/contract/ServicesUnderTest.h"

namespace {

// The state once it has settled (pending states pass within seconds).
unsigned long SettledState(tv::ServiceControl& services, const std::string& name,
                           unsigned long wanted) {
    unsigned long state = 0;
    for (int i = 0; i < 100; ++i) {
        state = services.QueryState(name);
        if (state == wanted) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return state;
}

TEST(ServiceControlContract, UnknownServiceHasNoStateAndRefusesControl) {
    auto under = MakeServicesUnderTest();
    EXPECT_EQ(under->services->QueryState("TvNoSuchService"), 0u);
    EXPECT_FALSE(under->services->Stop("TvNoSuchService"));
    EXPECT_FALSE(under->services->Start("TvNoSuchService"));
    EXPECT_EQ(under->services->QueryState(""), 0u);
}

TEST(ServiceControlContract, StartThenStopAStoppedService) {
    auto under = MakeServicesUnderTest();
    tv::ServiceControl& services = *under->services;
    const std::string& name = under->stoppedService;
    ASSERT_EQ(SettledState(services, name, tv::kServiceStopped), tv::kServiceStopped);
    EXPECT_FALSE(services.Stop(name));  // not running

    ASSERT_TRUE(services.Start(name));
    EXPECT_EQ(SettledState(services, name, tv::kServiceRunning), tv::kServiceRunning);
    EXPECT_FALSE(services.Start(name));  // already running

    ASSERT_TRUE(services.Stop(name));
    EXPECT_EQ(SettledState(services, name, tv::kServiceStopped), tv::kServiceStopped);
}

}  // namespace
