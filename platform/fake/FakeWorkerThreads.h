// Worker threads that do not run until the test says so, so it can check
// what happened before and after the work.
#pragma once

#include <functional>
#include <vector>

#include "platform/WorkerThreads.h"

namespace tv {

class FakeWorkerThreads : public WorkerThreads {
public:
    bool canStart = true;

    bool Start(std::function<void()> work) override {
        ++started_;
        if (!canStart) return false;
        pending_.push_back(std::move(work));
        return true;
    }
    // Runs the work started so far, in order.
    void RunPending() {
        std::vector<std::function<void()>> work;
        work.swap(pending_);
        for (auto& w : work) w();
    }
    int Started() const { return started_; }
    size_t Pending() const { return pending_.size(); }

private:
    std::vector<std::function<void()>> pending_;
    int started_ = 0;
};

}  // namespace tv
