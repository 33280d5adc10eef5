#include "platform/win32/Win32ServiceControl.h"

#include <windows.h>

#include "platform/win32/ScopedHandle.h"

namespace tv {

namespace {

// The manager and the service, both closed on every path.
struct OpenedService {
    ServiceHandle manager;
    ServiceHandle service;
    explicit operator bool() const { return static_cast<bool>(service); }
};

OpenedService OpenService(const std::string& name, DWORD managerAccess, DWORD serviceAccess) {
    OpenedService opened;
    opened.manager.Reset(OpenSCManagerA(nullptr, nullptr, managerAccess));
    if (opened.manager)
        opened.service.Reset(OpenServiceA(opened.manager.Get(), name.c_str(), serviceAccess));
    return opened;
}

}  // namespace

unsigned long Win32ServiceControl::QueryState(const std::string& name) {
    OpenedService opened = OpenService(name, SC_MANAGER_ENUMERATE_SERVICE, SERVICE_QUERY_STATUS);
    if (!opened) return 0;
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(opened.service.Get(), &status)) return 0;
    return status.dwCurrentState;
}

bool Win32ServiceControl::Stop(const std::string& name) {
    OpenedService opened = OpenService(name, SC_MANAGER_ALL_ACCESS, SERVICE_ALL_ACCESS);
    if (!opened) return false;
    SERVICE_STATUS status{};
    return ControlService(opened.service.Get(), SERVICE_CONTROL_STOP, &status) != FALSE;
}

bool Win32ServiceControl::Start(const std::string& name) {
    OpenedService opened = OpenService(name, SC_MANAGER_ALL_ACCESS, SERVICE_ALL_ACCESS);
    if (!opened) return false;
    return StartServiceA(opened.service.Get(), 0, nullptr) != FALSE;
}

}  // namespace tv
