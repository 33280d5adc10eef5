// A shell that records what it was asked to open instead of opening it.
#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace tv {

class FakeShell : public Shell {
public:
    struct Request {
        std::string address;
        int showCommand;
    };

    void Open(const std::string& address, int showCommand) override {
        requests_.push_back({address, showCommand});
    }
    const std::vector<Request>& Requests() const { return requests_; }
    void Clear() { requests_.clear(); }

private:
    std::vector<Request> requests_;
};

}  // namespace tv
