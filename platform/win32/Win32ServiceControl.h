// ServiceControl over the service control manager.
#pragma once

#include "platform/ServiceControl.h"

namespace tv {

class Win32ServiceControl : public ServiceControl {
public:
    unsigned long QueryState(const std::string& name) override;
    bool Stop(const std::string& name) override;
    bool Start(const std::string& name) override;
};

}  // namespace tv
