// The service database through advapi32's service control manager calls.
#pragma once

#include "platform/ServiceDatabase.h"

namespace tv {

class Win32ServiceDatabase : public ServiceDatabase {
public:
    ScHandle OpenManager(std::uint32_t access) override;
    bool Enumerate(ScHandle manager, std::uint32_t type, std::uint32_t state,
                   std::vector<ServiceStatusEntry>* services) override;
    ScHandle OpenServiceByName(ScHandle manager, const std::string& name,
                         std::uint32_t access) override;
    ScHandle OpenServiceByNameW(ScHandle manager, const std::u16string& name,
                                std::uint32_t access) override;
    bool QueryConfig(ScHandle service, ServiceConfig* config) override;
    bool QueryDescription(ScHandle service, std::string* description) override;
    bool QueryState(ScHandle service, std::uint32_t* state) override;
    bool ChangeStartType(ScHandle service, std::uint32_t startType) override;
    std::uint32_t StartByHandle(ScHandle service) override;
    std::uint32_t StopByHandle(ScHandle service) override;
    bool EnumerateDependents(ScHandle service, std::uint32_t state,
                             std::vector<ServiceStatusEntry>* dependents) override;
    bool Delete(ScHandle service) override;
    void Close(ScHandle handle) override;

private:
    bool DependentsByConfiguration(ScHandle service, std::vector<ServiceStatusEntry>* dependents);
};

}  // namespace tv
