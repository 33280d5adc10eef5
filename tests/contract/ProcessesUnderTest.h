// What the service, process and file-stamp contract tests run against: the
// in-memory fakes natively, the Win32 adapters under Wine. The helpers set
// up state the way the real system or a test of the fakes would.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ProcessTable.h"
#include "platform/ServiceDatabase.h"
#include "platform/SystemFiles.h"

struct ProcessesUnderTest {
    std::unique_ptr<tv::ServiceDatabase> services;
    std::unique_ptr<tv::ProcessTable> processes;
    std::unique_ptr<tv::SystemFiles> files;

    // A stopped, demand-start, own-process service with "severe" error
    // control. False when it cannot be made.
    virtual bool MakeService(const std::string& name, const std::string& binaryPath,
                             const std::string& description) = 0;
    virtual void RemoveService(const std::string& name) = 0;
    // The same service named in UTF-16, with `binaryPath` (ASCII) as its
    // command; removed again at the end.
    virtual bool MakeServiceW(const std::u16string& name, const std::string& binaryPath) = 0;
    // This process's id and the file name of its executable.
    virtual std::uint32_t SelfId() = 0;
    virtual std::string SelfName() = 0;
    // Starts a process that runs until ended; its id, or 0.
    virtual std::uint32_t StartChild() = 0;
    // Waits for a child to end; its exit code, or -1 when it is still there.
    virtual long ChildExitCode(std::uint32_t id) = 0;
    // Writes a file of `size` bytes; its path.
    virtual std::string MakeFile(const std::string& name, std::uint32_t size) = 0;
    virtual ~ProcessesUnderTest() = default;
};

std::unique_ptr<ProcessesUnderTest> MakeProcessesUnderTest();
