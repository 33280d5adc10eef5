#pragma once

#include "platform/Wmi.h"

namespace tv {

// One query run per call: COM initialised for the thread (multithreaded),
// process security set, the locator created, ROOT\CIMV2 connected, the
// proxy blanket set, a forward-only query run and its objects read; every
// interface released and COM uninitialised on every path.
class Win32Wmi : public Wmi {
public:
    bool Query(const std::string& wql, const std::vector<std::string>& properties,
               const std::function<bool(const WmiObject&)>& onObject) override;
};

}  // namespace tv
