// One service's state, stop and start, for the operations that restart a
// single system service by name.
#pragma once

#include <string>

namespace tv {

// Service states, with the Win32 SERVICE_* values.
constexpr unsigned long kServiceStopped = 1;
constexpr unsigned long kServiceStartPending = 2;
constexpr unsigned long kServiceStopPending = 3;
constexpr unsigned long kServiceRunning = 4;

class ServiceControl {
public:
    virtual ~ServiceControl() = default;
    // The service's current state; 0 when the manager or the service cannot
    // be opened or the status cannot be read.
    virtual unsigned long QueryState(const std::string& name) = 0;
    // Sends the stop control; true when the service accepted it.
    virtual bool Stop(const std::string& name) = 0;
    // Starts the service without arguments; true when the start was accepted.
    virtual bool Start(const std::string& name) = 0;
};

}  // namespace tv
