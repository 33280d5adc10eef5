// A desktop shell that records what it was asked to start. Tests choose
// whether one is there to ask; by default there is none (as under Wine's
// test prefix or with no shell running), so everything falls back to the
// program's own shell. On Windows 7 with a signed-in user there is one.
#pragma once

#include <vector>

#include "platform/UserShell.h"

namespace tv {

class FakeUserShell : public UserShell {
public:
    bool available = false;

    bool Launch(const ShellLaunch& launch) override {
        if (!available) return false;
        launches_.push_back(launch);
        return true;
    }
    const std::vector<ShellLaunch>& Launches() const { return launches_; }

private:
    std::vector<ShellLaunch> launches_;
};

}  // namespace tv
