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
    void MakeFile(const std::u16string& path) override {
        HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    void MakeFolder(const std::u16string& path) override {
        CreateDirectoryW(Wide(path).c_str(), nullptr);
    }
    static std::wstring Wide(const std::u16string& text) {
        return std::wstring(text.begin(), text.end());
    }
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
    // By exact names: a name outside the code page is no path to the A-calls.
    static void RemoveTree(const std::string& folder) {
        const int size = MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, nullptr, 0);
        std::wstring wide(size > 0 ? size : 1, L'\0');
        MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, &wide[0], size);
        wide.resize(wide.size() - 1);
        RemoveTree(wide);
    }
    static void RemoveTree(const std::wstring& folder) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring path = folder + L"\\" + name;
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                // A link goes itself; what it leads to is not the test's.
                if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                    RemoveLink(path);
                else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path);
                else
                    DeleteFileW(path.c_str());
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }
    // Links this test makes have ASCII names.
    static void RemoveLink(const std::wstring& path) {
        const std::string narrow(path.begin(), path.end());
        RunHostShell("rm -f '" + UnixPath(narrow) + "'\n", narrow, false);
    }
};

}  // namespace

std::unique_ptr<FilesUnderTest> MakeFilesUnderTest() { return std::make_unique<RealFiles>(); }
