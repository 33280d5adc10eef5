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
        bool canChange = true;   // ChangeServiceConfig succeeds
        // A start or stop that never ends: the state stays pending.
        bool startHangs = false;
        bool stopHangs = false;
        // Services that depend on this one (by name), as DependOnService
        // names it in theirs.
        std::vector<std::string> dependents;
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
    // Every OpenServiceW call, by exact name.
    std::vector<std::u16string> openedExactly;
    int OpenHandles() const { return static_cast<int>(handles_.size()); }

    ScHandle OpenManager(std::uint32_t access) override;
    bool Enumerate(ScHandle manager, std::uint32_t type, std::uint32_t state,
                   std::vector<ServiceStatusEntry>* services) override;
    ScHandle OpenServiceByName(ScHandle manager, const std::string& name,
                         std::uint32_t access) override;
    // By the service's exact name; one added without it is named by its
    // 8-bit name, each byte a character.
    ScHandle OpenServiceByNameW(ScHandle manager, const std::u16string& name,
                                std::uint32_t access) override;
    bool QueryConfig(ScHandle service, ServiceConfig* config) override;
    bool QueryDescription(ScHandle service, std::string* description) override;
    bool QueryState(ScHandle service, std::uint32_t* state) override;
    bool ChangeStartType(ScHandle service, std::uint32_t startType) override;
    // As Windows 7: a disabled service does not start, a stopped one does
    // not stop, and one that active services depend on refuses the stop.
    std::uint32_t StartByHandle(ScHandle service) override;
    std::uint32_t StopByHandle(ScHandle service) override;
    // Direct dependents only: enough for the tests' one level.
    bool EnumerateDependents(ScHandle service, std::uint32_t state,
                             std::vector<ServiceStatusEntry>* dependents) override;
    // State queries so far, to tell a wait that polls from one that does not.
    int stateQueries = 0;
    bool Delete(ScHandle service) override;
    void Close(ScHandle handle) override;

private:
    struct Handle {
        bool manager = false;
        std::uint32_t access = 0;
        std::u16string service;  // the exact name
    };
    const Handle* Lookup(ScHandle handle, bool manager) const;
    Service* ServiceOf(ScHandle handle);
    // As the service manager names services: by their UTF-16 names, ASCII
    // case aside. A service's exact name is its name's stored UTF-16 form,
    // set for names the code page cannot hold, else its 8-bit name, each
    // byte a character; an 8-bit name asked for is read the same way.
    static std::u16string ExactOf(const Service& service);
    static std::u16string Widened(const std::string& name);
    Service* FindExact(const std::u16string& name);
    ScHandle OpenExact(ScHandle manager, const std::u16string& name, std::uint32_t access);
    // A service marked for deletion goes once no handle to it is open and
    // it is not running.
    void Collect();

    std::vector<Service> services_;
    std::map<ScHandle, Handle> handles_;
    ScHandle next_ = 0x100;
};

}  // namespace tv
