// A system tool replaced for a test by the recorder (helpers/Recorder.cpp),
// which records how it is started and with which variables.
#pragma once

#include <string>
#include <vector>

namespace tv::testing {

// The tool gets only the system's own variables, so where to record is a
// machine variable for the test's length, and Wine is told in the registry
// to prefer it to its own (tools/wine-env.sh says so in the environment,
// which the tool does not get). `userPath`, when given, is put in front of
// PATH in this process's environment (which the program inherits) and as
// the user's PATH setting, so a test sees whether the tool got either.
// Everything is restored when the test ends.
class RecordingTool {
public:
    // `tool`: the tool's full path.
    explicit RecordingTool(const std::string& tool, const std::string& userPath = {});
    ~RecordingTool();
    RecordingTool(const RecordingTool&) = delete;
    RecordingTool& operator=(const RecordingTool&) = delete;

    bool Ready() const { return ready_; }
    const std::string& Tool() const { return tool_; }
    // The variables of every start, one a line.
    std::vector<std::string> Variables() const;
    // The command lines recorded so far, one per start.
    std::vector<std::string> Lines() const;

private:
    std::string tool_, saved_, record_, overrideName_, userPath_;
    bool ready_ = false;
    bool hadOverride_ = false, hadUserPath_ = false;
    std::string savedOverride_, savedUserPath_, savedPath_;
};

}  // namespace tv::testing
