// A desktop shell that records what it was asked to start. Tests choose
// whether there is one to ask: by default there is, as on Windows 7 with a
// signed-in user and under Wine. It answers at once, or, with `holdAnswers`,
// only when the test says so (a shell that is slow to answer).
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "platform/UserShell.h"

namespace tv {

class FakeUserShell : public UserShell {
public:
    bool available = true;
    bool holdAnswers = false;

    void Launch(const ShellLaunch& launch, std::function<void(bool taken)> answered) override {
        asked_.push_back(launch);
        if (holdAnswers) {
            held_.push_back({launch, std::move(answered)});
            return;
        }
        Answer(launch, answered);
    }
    // Answers every held request as `available` says now.
    void AnswerHeld() {
        std::vector<HeldRequest> held;
        held.swap(held_);
        for (HeldRequest& h : held) Answer(h.launch, h.answered);
    }
    // Taken by the shell, in order.
    const std::vector<ShellLaunch>& Launches() const { return launches_; }
    // Every request, taken or not.
    const std::vector<ShellLaunch>& Asked() const { return asked_; }
    size_t HeldCount() const { return held_.size(); }
    void Clear() {
        launches_.clear();
        asked_.clear();
    }

private:
    struct HeldRequest {
        ShellLaunch launch;
        std::function<void(bool)> answered;
    };
    void Answer(const ShellLaunch& launch, const std::function<void(bool)>& answered) {
        if (available) launches_.push_back(launch);
        if (answered) answered(available);
    }

    std::vector<ShellLaunch> launches_;
    std::vector<ShellLaunch> asked_;
    std::vector<HeldRequest> held_;
};

}  // namespace tv
