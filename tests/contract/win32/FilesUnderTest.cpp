#include "tests/contract/FilesUnderTest.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "tests/support/HostShell.h"

namespace {

using tv::RunHostShell;
using tv::UnixPath;

struct RealFiles : FilesUnderTest {
    RealFiles() {
        files = std::make_unique<tv::Win32FileSystem>();
        drives = std::make_unique<tv::Win32Drives>();
        environment = std::make_unique<tv::Win32Environment>();
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        scratch = std::string(temp) + "tv-contract-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(scratch.c_str(), nullptr);
    }
    ~RealFiles() override { RemoveTree(scratch); }
    void MakeFile(const std::string& path, bool readOnly) override {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        if (readOnly) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    void MakeFolder(const std::string& path) override { CreateDirectoryA(path.c_str(), nullptr); }
    bool MakeLink(const std::string& link, const std::string& target) override {
        return tv::MakeHostLink(link, target);
    }
    std::string ReadFile(const std::string& path) override {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Release(const std::string& path) override {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    void PlantVariable(const std::string& name, const std::string& value) override {
        SetEnvironmentVariableA(name.c_str(), value.c_str());
    }
    static void RemoveTree(const std::string& folder) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string name = data.cFileName;
                if (name == "." || name == "..") continue;
                std::string path = folder + "\\" + name;
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                // A link goes itself; what it leads to is not the test's.
                if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                    RunHostShell("rm -f '" + UnixPath(path) + "'\n", path, false);
                else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path);
                else
                    DeleteFileA(path.c_str());
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(folder.c_str());
    }
};

}  // namespace

std::unique_ptr<FilesUnderTest> MakeFilesUnderTest() { return std::make_unique<RealFiles>(); }
