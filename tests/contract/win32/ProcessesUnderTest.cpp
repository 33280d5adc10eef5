#include "tests/contract/ProcessesUnderTest.h"

#include <windows.h>

#include <map>
#include <vector>

#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32ProcessTable.h"
#include "platform/win32/Win32ServiceDatabase.h"
#include "platform/win32/Win32SystemFiles.h"

namespace {

using ScopedSc = tv::ServiceHandle;

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

struct RealProcesses : ProcessesUnderTest {
    std::vector<std::string> made;
    std::vector<std::wstring> madeWide;
    std::map<std::uint32_t, tv::ScopedHandle> children;
    std::vector<std::string> filesMade;

    RealProcesses() {
        services = std::make_unique<tv::Win32ServiceDatabase>();
        processes = std::make_unique<tv::Win32ProcessTable>();
        files = std::make_unique<tv::Win32SystemFiles>();
    }
    ~RealProcesses() override {
        for (const auto& name : made) RemoveService(name);
        for (const auto& name : madeWide) {
            ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
            ScopedSc service(OpenServiceW(manager.Get(), name.c_str(), SERVICE_ALL_ACCESS));
            if (service) DeleteService(service.Get());
        }
        for (auto& [id, process] : children) {
            if (WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) {
                TerminateProcess(process.Get(), 0);
                WaitForSingleObject(process.Get(), 5000);
            }
        }
        for (const auto& path : filesMade) DeleteFileA(path.c_str());
    }
    bool MakeService(const std::string& name, const std::string& binaryPath,
                     const std::string& description) override {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ScopedSc service(CreateServiceA(manager.Get(), name.c_str(), (name + " display").c_str(),
                                        SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                        SERVICE_DEMAND_START, SERVICE_ERROR_SEVERE,
                                        binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr,
                                        nullptr));
        if (!service) return false;
        made.push_back(name);
        SERVICE_DESCRIPTIONA text{const_cast<char*>(description.c_str())};
        return ChangeServiceConfig2A(service.Get(), SERVICE_CONFIG_DESCRIPTION, &text) != 0;
    }
    bool MakeServiceW(const std::u16string& name, const std::string& binaryPath) override {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        const std::wstring wide(name.begin(), name.end());
        const std::wstring path(binaryPath.begin(), binaryPath.end());
        ScopedSc service(CreateServiceW(manager.Get(), wide.c_str(), wide.c_str(), SERVICE_ALL_ACCESS,
                                        SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                        SERVICE_ERROR_NORMAL, path.c_str(), nullptr, nullptr,
                                        nullptr, nullptr, nullptr));
        if (!service) return false;
        madeWide.push_back(wide);
        return true;
    }
    void RemoveService(const std::string& name) override {
        ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ScopedSc service(OpenServiceA(manager.Get(), name.c_str(), SERVICE_ALL_ACCESS));
        if (service) DeleteService(service.Get());
    }
    std::uint32_t SelfId() override { return GetCurrentProcessId(); }
    std::string SelfName() override {
        std::string path = ProgramPath();
        return path.substr(path.find_last_of('\\') + 1);
    }
    std::uint32_t StartChild() override {
        // This test program, waiting on a console read that never comes.
        std::string path = ProgramPath();
        std::string command = "\"" + path + "\" --gtest_filter=NoSuchTest.Sleep --sleep";
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                            nullptr, nullptr, &startup, &info))
            return 0;
        tv::ScopedHandle thread(info.hThread);
        children[info.dwProcessId].Reset(info.hProcess);
        return info.dwProcessId;
    }
    long ChildExitCode(std::uint32_t id) override {
        auto it = children.find(id);
        if (it == children.end()) return -1;
        if (WaitForSingleObject(it->second.Get(), 5000) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(it->second.Get(), &code);
        return static_cast<long>(code);
    }
    std::string MakeFile(const std::string& name, std::uint32_t size) override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        std::string path = std::string(temp) + std::to_string(GetCurrentProcessId()) + name;
        tv::ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        std::vector<char> bytes(size, 'x');
        DWORD written = 0;
        WriteFile(file.Get(), bytes.data(), size, &written, nullptr);
        filesMade.push_back(path);
        return path;
    }
};

}  // namespace

std::unique_ptr<ProcessesUnderTest> MakeProcessesUnderTest() {
    return std::make_unique<RealProcesses>();
}
