// One service's state, stop and start: the fake and the service control
// manager must agree.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
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

// The contract's stopped service, opened through the database with all
// access, and its first configuration.
struct StoppedService {
    std::unique_ptr<ServicesUnderTest> under = MakeServicesUnderTest();
    tv::ServiceDatabase& database = *under->database;
    tv::ScopedService manager{database, database.OpenManager(tv::kScManagerAllAccess)};
    tv::ScopedService service{
        database, database.OpenServiceByName(manager.Get(), under->stoppedService, tv::kServiceAllAccess)};
    // Its configuration as it was.
    tv::ServiceConfig first;
    bool Opened() { return manager && service && database.QueryConfig(service.Get(), &first); }
};

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

// Each start type set through the manager reads back from its
// configuration; the first type comes back at the end.
TEST(ServiceControlContract, StartTypeChangesReadBack) {
    StoppedService stopped;
    ASSERT_TRUE(stopped.Opened());
    auto& [under, database, manager, service, first] = stopped;
    for (std::uint32_t type : {tv::kServiceDisabled, tv::kServiceAutoStart, tv::kServiceDemandStart,
                               tv::kServiceDisabled, first.startType}) {
        SCOPED_TRACE(type);
        ASSERT_TRUE(database.ChangeStartType(service.Get(), type));
        tv::ServiceConfig config;
        ASSERT_TRUE(database.QueryConfig(service.Get(), &config));
        EXPECT_EQ(config.startType, type);
        // Nothing else changes.
        EXPECT_EQ(config.binaryPath, first.binaryPath);
        EXPECT_EQ(config.errorControl, first.errorControl);
    }
}

// A disabled service does not start, a stopped one does not stop.
TEST(ServiceControlContract, StartAndStopErrors) {
    StoppedService stopped;
    ASSERT_TRUE(stopped.Opened());
    auto& [under, database, manager, service, first] = stopped;
    EXPECT_EQ(database.StopByHandle(service.Get()), tv::kErrorServiceNotActive);
    ASSERT_TRUE(database.ChangeStartType(service.Get(), tv::kServiceDisabled));
    EXPECT_EQ(database.StartByHandle(service.Get()), tv::kErrorServiceIsDisabled);
    ASSERT_TRUE(database.ChangeStartType(service.Get(), first.startType));
    std::vector<tv::ServiceStatusEntry> dependents;
    EXPECT_TRUE(database.EnumerateDependents(service.Get(), tv::kServiceActive, &dependents));
    EXPECT_TRUE(dependents.empty());
}

}  // namespace
