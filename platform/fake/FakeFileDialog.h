// A file dialog that records what it was asked and answers with the
// path a test queued (or a cancel).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/FileDialog.h"

namespace tv {

class FakeFileDialog : public FileDialog {
public:
    // An empty answer is a cancel.
    void QueueAnswer(const std::string& path) { answers_.push_back(path); }
    const std::vector<OpenFileRequest>& Requests() const { return requests_; }
    const std::vector<SaveFileRequest>& SaveRequests() const { return saveRequests_; }

    bool ChooseFile(const OpenFileRequest& request, std::string* path) override {
        requests_.push_back(request);
        return Answer(request.bufferSize, path);
    }

    // Answered from the same queue.
    bool ChooseSaveFile(const SaveFileRequest& request, std::string* path) override {
        saveRequests_.push_back(request);
        return Answer(request.bufferSize, path);
    }

private:
    bool Answer(unsigned bufferSize, std::string* path) {
        if (answers_.empty()) return false;
        std::string answer = answers_.front();
        answers_.pop_front();
        if (answer.empty() || answer.size() >= bufferSize) return false;
        *path = answer;
        return true;
    }

    std::vector<SaveFileRequest> saveRequests_;
    std::vector<OpenFileRequest> requests_;
    std::deque<std::string> answers_;
};

}  // namespace tv
