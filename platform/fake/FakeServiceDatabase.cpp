#include "platform/fake/FakeServiceDatabase.h"

#include <algorithm>

#include "platform/CodePageText.h"
#include "platform/WideText.h"

namespace tv {

FakeServiceDatabase::Service& FakeServiceDatabase::Add(const std::string& name,
                                                       const std::string& displayName,
                                                       const std::string& binaryPath,
                                                       std::uint32_t state) {
    Service service;
    service.status.name = name;
    service.status.displayName = displayName;
    service.status.currentState = state;
    service.config.binaryPath = binaryPath;
    services_.push_back(service);
    return services_.back();
}

std::u16string FakeServiceDatabase::Widened(const std::string& name) {
    std::u16string wide;
    for (char c : name) wide.push_back(static_cast<unsigned char>(c));
    return wide;
}

std::u16string FakeServiceDatabase::ExactOf(const Service& service) {
    const EntryName& name = service.status.name;
    return name.Stored().empty() ? Widened(name.Shown()) : name.Stored();
}

FakeServiceDatabase::Service* FakeServiceDatabase::FindExact(const std::u16string& name) {
    for (auto& service : services_)
        if (utf16::EqualsNoCase(ExactOf(service), name)) return &service;
    return nullptr;
}

FakeServiceDatabase::Service* FakeServiceDatabase::Find(const std::string& name) {
    for (auto& service : services_)
        if (text::EqualsNoCase(service.status.name.Shown(), name)) return &service;
    return nullptr;
}

const FakeServiceDatabase::Handle* FakeServiceDatabase::Lookup(ScHandle handle,
                                                               bool manager) const {
    auto it = handles_.find(handle);
    if (it == handles_.end() || it->second.manager != manager) return nullptr;
    return &it->second;
}

ScHandle FakeServiceDatabase::OpenManager(std::uint32_t access) {
    if (refusedManagerAccess.count(access)) return 0;
    ScHandle handle = next_++;
    handles_[handle] = Handle{true, access, {}};
    return handle;
}

bool FakeServiceDatabase::Enumerate(ScHandle manager, std::uint32_t type, std::uint32_t state,
                                    std::vector<ServiceStatusEntry>* services) {
    services->clear();
    const Handle* h = Lookup(manager, true);
    if (!h || enumerateFails || (h->access & kScManagerEnumerateService) == 0) return false;
    for (const auto& service : services_) {
        if ((service.status.serviceType & type) == 0) continue;
        bool stopped = service.status.currentState == kServiceStopped;
        if ((state == 1 && stopped) || (state == 2 && !stopped)) continue;
        services->push_back(service.status);
    }
    return true;
}

ScHandle FakeServiceDatabase::OpenServiceByName(ScHandle manager, const std::string& name,
                                          std::uint32_t access) {
    openedServices.push_back(name);
    // A C string to the service manager: the name stops at its first NUL.
    return OpenExact(manager, Widened(name.substr(0, name.find('\0'))), access);
}

ScHandle FakeServiceDatabase::OpenServiceByNameW(ScHandle manager, const std::u16string& name,
                                                 std::uint32_t access) {
    openedExactly.push_back(name);
    return OpenExact(manager, name.substr(0, name.find(u'\0')), access);
}

ScHandle FakeServiceDatabase::OpenExact(ScHandle manager, const std::u16string& name,
                                        std::uint32_t access) {
    if (!Lookup(manager, true)) return 0;
    Service* service = FindExact(name);
    if (!service || !service->canOpen || service->markedForDeletion) return 0;
    ScHandle handle = next_++;
    handles_[handle] = Handle{false, access, ExactOf(*service)};
    return handle;
}

bool FakeServiceDatabase::QueryConfig(ScHandle handle, ServiceConfig* config) {
    const Handle* h = Lookup(handle, false);
    Service* service = h ? FindExact(h->service) : nullptr;
    if (!service) return false;
    *config = service->config;
    return true;
}

bool FakeServiceDatabase::QueryDescription(ScHandle handle, std::string* description) {
    const Handle* h = Lookup(handle, false);
    Service* service = h ? FindExact(h->service) : nullptr;
    if (!service) return false;
    *description = service->description;
    return true;
}

bool FakeServiceDatabase::QueryState(ScHandle handle, std::uint32_t* state) {
    const Handle* h = Lookup(handle, false);
    Service* service = h ? FindExact(h->service) : nullptr;
    if (!service) return false;
    ++stateQueries;
    *state = service->status.currentState;
    return true;
}

FakeServiceDatabase::Service* FakeServiceDatabase::ServiceOf(ScHandle handle) {
    const Handle* h = Lookup(handle, false);
    return h ? FindExact(h->service) : nullptr;
}

bool FakeServiceDatabase::ChangeStartType(ScHandle handle, std::uint32_t startType) {
    Service* service = ServiceOf(handle);
    if (!service || !service->canChange || startType > kServiceDisabled) return false;
    service->config.startType = startType;
    return true;
}

std::uint32_t FakeServiceDatabase::StartByHandle(ScHandle handle) {
    Service* service = ServiceOf(handle);
    if (!service) return kErrorServiceInvalidHandle;
    if (service->config.startType == kServiceDisabled) return kErrorServiceIsDisabled;
    if (service->status.currentState != kServiceStopped) return kErrorServiceAlreadyRunning;
    service->status.currentState = service->startHangs ? kServiceStartPending : kServiceRunning;
    return 0;
}

std::uint32_t FakeServiceDatabase::StopByHandle(ScHandle handle) {
    Service* service = ServiceOf(handle);
    if (!service) return kErrorServiceInvalidHandle;
    if (service->status.currentState == kServiceStopped) return kErrorServiceNotActive;
    for (const std::string& name : service->dependents) {
        const Service* dependent = Find(name);
        if (dependent && dependent->status.currentState != kServiceStopped)
            return kErrorDependentServicesRunning;
    }
    service->status.currentState = service->stopHangs ? kServiceStopPending : kServiceStopped;
    Collect();
    return 0;
}

bool FakeServiceDatabase::EnumerateDependents(ScHandle handle, std::uint32_t state,
                                              std::vector<ServiceStatusEntry>* dependents) {
    dependents->clear();
    Service* service = ServiceOf(handle);
    if (!service) return false;
    for (const std::string& name : service->dependents) {
        const Service* dependent = Find(name);
        if (!dependent) continue;
        const bool stopped = dependent->status.currentState == kServiceStopped;
        if ((state == 1 && stopped) || (state == 2 && !stopped)) continue;
        dependents->push_back(dependent->status);
    }
    return true;
}

bool FakeServiceDatabase::Delete(ScHandle handle) {
    const Handle* h = Lookup(handle, false);
    Service* service = h ? FindExact(h->service) : nullptr;
    if (!service || !service->canDelete || service->markedForDeletion) return false;
    service->markedForDeletion = true;
    return true;
}

void FakeServiceDatabase::Close(ScHandle handle) {
    handles_.erase(handle);
    Collect();
}

void FakeServiceDatabase::Collect() {
    services_.erase(std::remove_if(services_.begin(), services_.end(),
                                   [this](const Service& s) {
                                       if (!s.markedForDeletion) return false;
                                       if (s.status.currentState != kServiceStopped) return false;
                                       for (const auto& [id, h] : handles_)
                                           if (!h.manager && h.service == ExactOf(s))
                                               return false;
                                       return true;
                                   }),
                    services_.end());
}

}  // namespace tv
