#include "tests/contract/SystemSeamsUnderTest.h"

#include <windows.h>

#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32Tokens.h"
#include "platform/win32/Win32VersionResources.h"
#include "tests/support/Shortcut.h"

namespace {

struct RealSeams : SystemSeamsUnderTest {
    RealSeams() {
        links = std::make_unique<tv::Win32ShellLinks>();
        versions = std::make_unique<tv::Win32VersionResources>();
        tokens = std::make_unique<tv::Win32Tokens>();
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        scratch = std::string(temp) + "tv-seams-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(scratch.c_str(), nullptr);
        char system[MAX_PATH] = {};
        GetSystemDirectoryA(system, MAX_PATH);
        versionedFile = std::string(system) + "\\kernel32.dll";
    }
    ~RealSeams() override {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((scratch + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((scratch + "\\" + data.cFileName).c_str());
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(scratch.c_str());
    }
    void MakeFile(const std::string& path) override {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(h, "not a shortcut", 14, &written, nullptr);
            CloseHandle(h);
        }
    }
    void MakeShortcut(const std::string& linkPath, const std::string& target) override {
        tv::testing::MakeShortcut(linkPath, target);
    }
    void MakeShortcut(const std::u16string& linkPath, const std::string& target) override {
        tv::testing::MakeShortcut(linkPath, target);
    }
};

}  // namespace

std::unique_ptr<SystemSeamsUnderTest> MakeSystemSeamsUnderTest() {
    return std::make_unique<RealSeams>();
}
