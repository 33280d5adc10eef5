// Services a test sets up by name and state; stops and starts change the
// state the way a well-behaved service would, and every call is logged.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/CodePageText.h"
#include "platform/ServiceControl.h"

namespace tv {

class FakeServiceControl : public ServiceControl {
public:
    void Set(const std::string& name, unsigned long state) { services_[text::ToLower(name)] = state; }
    // The next stop or start of any service fails.
    bool failStop = false;
    bool failStart = false;

    unsigned long QueryState(const std::string& name) override {
        calls_.push_back("query " + name);
        auto it = services_.find(text::ToLower(name));
        return it == services_.end() ? 0 : it->second;
    }
    bool Stop(const std::string& name) override {
        calls_.push_back("stop " + name);
        auto it = services_.find(text::ToLower(name));
        if (failStop || it == services_.end() || it->second != kServiceRunning) return false;
        it->second = kServiceStopped;
        return true;
    }
    bool Start(const std::string& name) override {
        calls_.push_back("start " + name);
        auto it = services_.find(text::ToLower(name));
        if (failStart || it == services_.end() || it->second == kServiceRunning) return false;
        it->second = kServiceRunning;
        return true;
    }
    const std::vector<std::string>& Calls() const { return calls_; }

private:
    std::map<std::string, unsigned long> services_;
    std::vector<std::string> calls_;
};

}  // namespace tv
