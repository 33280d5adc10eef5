// The service control manager: list the services, read their configuration
// and description, delete one. Handles are numbers the implementation hands
// out; ScopedService closes them on every path. Constants keep their Win32
// values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/EntryName.h"
#include "platform/ServiceControl.h"  // the state values
#include "platform/UniqueHandle.h"

namespace tv {

using ScHandle = std::uintptr_t;

constexpr std::uint32_t kGenericRead = 0x80000000u;
constexpr std::uint32_t kScManagerEnumerateService = 0x0004;
constexpr std::uint32_t kScManagerAllAccess = 0xF003F;
constexpr std::uint32_t kServiceAllAccess = 0xF01FF;

constexpr std::uint32_t kServiceWin32 = 0x30;  // own- and shared-process services
constexpr std::uint32_t kServiceStateAll = 3;
constexpr std::uint32_t kServiceActive = 1;  // running, pending or paused

// Start types.
constexpr std::uint32_t kServiceAutoStart = 2;
constexpr std::uint32_t kServiceDemandStart = 3;
constexpr std::uint32_t kServiceDisabled = 4;

// Win32 errors the start and stop calls hand back.
constexpr std::uint32_t kErrorServiceInvalidHandle = 6;
constexpr std::uint32_t kErrorDependentServicesRunning = 1051;
constexpr std::uint32_t kErrorServiceAlreadyRunning = 1056;
constexpr std::uint32_t kErrorServiceIsDisabled = 1058;
constexpr std::uint32_t kErrorServiceNotActive = 1062;


struct ServiceStatusEntry {
    EntryName name;  // the key name
    std::string displayName;
    std::uint32_t serviceType = 0x10;
    std::uint32_t currentState = kServiceStopped;
};

struct ServiceConfig {
    std::uint32_t serviceType = 0x10;
    std::uint32_t startType = 3;
    std::uint32_t errorControl = 1;
    std::string binaryPath;  // lpBinaryPathName as configured
};

class ServiceDatabase {
public:
    virtual ~ServiceDatabase() = default;

    // OpenSCManagerA on the local machine's default database; 0 on failure.
    virtual ScHandle OpenManager(std::uint32_t access) = 0;
    // EnumServicesStatusA, repeated until the manager has handed out every
    // service of `type` in `state`, in its order. False when it fails.
    virtual bool Enumerate(ScHandle manager, std::uint32_t type, std::uint32_t state,
                           std::vector<ServiceStatusEntry>* services) = 0;
    // OpenServiceA; 0 on failure.
    virtual ScHandle OpenServiceByName(ScHandle manager, const std::string& name,
                                 std::uint32_t access) = 0;
    // OpenServiceW: the service named exactly, in any script.
    virtual ScHandle OpenServiceByNameW(ScHandle manager, const std::u16string& name,
                                        std::uint32_t access) = 0;
    // QueryServiceConfigA, however large the configuration is.
    virtual bool QueryConfig(ScHandle service, ServiceConfig* config) = 0;
    // QueryServiceConfig2A with SERVICE_CONFIG_DESCRIPTION, whole; empty
    // text when the service has no description.
    virtual bool QueryDescription(ScHandle service, std::string* description) = 0;
    // QueryServiceStatus: the service's current state. False when it cannot
    // be read.
    virtual bool QueryState(ScHandle service, std::uint32_t* state) = 0;
    // ChangeServiceConfigW with only the start type changed.
    virtual bool ChangeStartType(ScHandle service, std::uint32_t startType) = 0;
    // StartServiceW without arguments: 0 when the start was accepted, else
    // the Win32 error.
    virtual std::uint32_t StartByHandle(ScHandle service) = 0;
    // ControlService with SERVICE_CONTROL_STOP: 0 when accepted, else the
    // Win32 error (kErrorDependentServicesRunning while active services
    // depend on it).
    virtual std::uint32_t StopByHandle(ScHandle service) = 0;
    // EnumDependentServicesW: the services in `state` that depend on this
    // one, directly or not, names exactly. False when it fails.
    virtual bool EnumerateDependents(ScHandle service, std::uint32_t state,
                                     std::vector<ServiceStatusEntry>* dependents) = 0;
    // DeleteService: marks the service for deletion.
    virtual bool Delete(ScHandle service) = 0;
    // CloseServiceHandle, for manager and service handles alike.
    virtual void Close(ScHandle handle) = 0;
};

// Owns a manager or service handle.
using ScopedService = SeamHandle<ServiceDatabase, ScHandle, &ServiceDatabase::Close>;

}  // namespace tv
