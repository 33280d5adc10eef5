#pragma once

#include "platform/Wmi.h"

namespace tv {

// One query run per call: COM initialised for the thread (multithreaded),
// the locator created, ROOT\CIMV2 connected, the proxy blanket set on the
// services and on the objects' enumerator, a forward-only query run and its
// objects read, waiting for each at most a moment at a time so that a stop
// request is seen; every interface released and COM uninitialised on every
// path. The process's COM security is set once at start
// (SetProcessComSecurity), before any other thread runs.
void SetProcessComSecurity();

class Win32Wmi : public Wmi {
public:
    bool Query(const std::string& wql, const std::vector<std::string>& properties,
               const std::function<bool(const WmiObject&)>& onObject,
               const std::function<bool()>& stop) override;
};

}  // namespace tv
