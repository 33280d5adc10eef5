// Records every message box and answers with the next queued answer (OK for
// an OK box, else No, when none is queued).
#pragma once

#include <deque>
#include <vector>

#include "platform/Prompter.h"

namespace tv {

class FakePrompter : public Prompter {
public:
    int Ask(const Prompt& prompt) override {
        prompts_.push_back(prompt);
        if (!answers_.empty()) {
            int answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        return (prompt.type & 0xF) == kMbOk ? kIdOk : kIdNo;
    }
    void QueueAnswer(int answer) { answers_.push_back(answer); }
    const std::vector<Prompt>& Prompts() const { return prompts_; }
    void Clear() { prompts_.clear(); answers_.clear(); }

private:
    std::vector<Prompt> prompts_;
    std::deque<int> answers_;
};

}  // namespace tv
