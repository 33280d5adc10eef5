// A desktop shell that records what it was asked to start. Tests choose
// whether there is one to ask. By default there is none, so everything goes
// to the program's own shell where the tests have always looked; on
// Windows 7 with a signed-in user, and under Wine, there is one.
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
