// A shell that records what it was asked to open or start instead of doing it.
#pragma once

#include <optional>
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
    struct Command {
        std::string commandLine;
        int showCommand;
    };
    struct Process {
        std::string application;
        std::string commandLine;
        int showCommand;
        // The variables it was given; none: this process's own.
        std::optional<ProcessEnvironment> environment;
    };

    void Open(const std::string& address, int showCommand) override {
        requests_.push_back({address, showCommand});
    }
    bool Launch(const ShellLaunch& launch) override {
        launches_.push_back(launch);
        return launchResult;
    }
    bool Run(const std::string& commandLine, int showCommand) override {
        commands_.push_back({commandLine, showCommand});
        return runResult;
    }
    bool Start(const std::string& application, const std::string& commandLine,
               int showCommand, const ProcessEnvironment* environment = nullptr) override {
        processes_.push_back({application, commandLine, showCommand, Copy(environment)});
        return startResult;
    }
    // Kept beside the 8-bit starts, each text as given.
    bool StartW(const std::u16string& application, const std::u16string& commandLine,
                int showCommand, const ProcessEnvironment* environment = nullptr) override {
        exactProcesses_.push_back({application, commandLine, showCommand, Copy(environment)});
        return startResult;
    }
    struct ExactProcess {
        std::u16string application, commandLine;
        int showCommand;
        std::optional<ProcessEnvironment> environment;
    };
    const std::vector<ExactProcess>& ExactProcesses() const { return exactProcesses_; }
    const std::vector<Request>& Requests() const { return requests_; }
    const std::vector<ShellLaunch>& Launches() const { return launches_; }
    const std::vector<Command>& Commands() const { return commands_; }
    const std::vector<Process>& Processes() const { return processes_; }
    void Clear() {
        requests_.clear();
        launches_.clear();
        commands_.clear();
        processes_.clear();
        exactProcesses_.clear();
    }

    bool launchResult = true;
    bool runResult = true;
    bool startResult = true;

private:
    static std::optional<ProcessEnvironment> Copy(const ProcessEnvironment* environment) {
        if (environment == nullptr) return std::nullopt;
        return *environment;
    }

    std::vector<ExactProcess> exactProcesses_;
    std::vector<Request> requests_;
    std::vector<ShellLaunch> launches_;
    std::vector<Command> commands_;
    std::vector<Process> processes_;
};

}  // namespace tv
