// An in-memory service manager: tests set up any list of services, make any
// step fail, and read back what was deleted and which handles are open.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/ServiceDatabase.h"

namespace tv {

class FakeServiceDatabase : public ServiceDatabase {
public:
    struct Service {
        ServiceStatusEntry status;
        ServiceConfig config;
        std::string description;
        bool canOpen = true;     // OpenService with full access succeeds
        bool canDelete = true;   // DeleteService succeeds
        bool markedForDeletion = false;
    };

    // Adds a service at the end of the manager's order.
    Service& Add(const std::string& name, const std::string& displayName,
                 const std::string& binaryPath, std::uint32_t state = kServiceStopped);
    Service* Find(const std::string& name);
    const std::vector<Service>& Services() const { return services_; }

    // Access masks with which OpenManager fails.
    std::set<std::uint32_t> refusedManagerAccess;
    bool enumerateFails = false;
    // Every OpenService call, by name.
    std::vector<std::string> openedServices;
    int OpenHandles() const { return static_cast<int>(handles_.size()); }

    ScHandle OpenManager(std::uint32_t access) override;
    bool Enumerate(ScHandle manager, std::uint32_t type, std::uint32_t state,
                   std::vector<ServiceStatusEntry>* services) override;
    ScHandle OpenServiceByName(ScHandle manager, const std::string& name,
                         std::uint32_t access) override;
    bool QueryConfig(ScHandle service, ServiceConfig* config) override;
    bool QueryDescription(ScHandle service, std::string* description) override;
    bool QueryState(ScHandle service, std::uint32_t* state) override;
    bool Delete(ScHandle service) override;
    void Close(ScHandle handle) override;

private:
    struct Handle {
        bool manager = false;
        std::uint32_t access = 0;
        std::string service;
    };
    const Handle* Lookup(ScHandle handle, bool manager) const;
    // A service marked for deletion goes once no handle to it is open and
    // it is not running.
    void Collect();

    std::vector<Service> services_;
    std::map<ScHandle, Handle> handles_;
    ScHandle next_ = 0x100;
};

}  // namespace tv
