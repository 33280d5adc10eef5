#include "tests/contract/FilesUnderTest.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
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
    static std::wstring WideOf(const std::string& path) {
        const int size = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
        std::wstring wide(size > 0 ? size : 1, L'\0');
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], size);
        wide.resize(wide.size() - 1);
        return wide;
    }
    static std::string SidText(PSID sid) {
        LPSTR text = nullptr;
        if (!sid || !ConvertSidToStringSidA(sid, &text)) return {};
        std::string result = text;
        LocalFree(text);
        return result;
    }
    // The descriptor as the system keeps it; null on failure (LocalFree it).
    static PSECURITY_DESCRIPTOR Read(const std::string& path, PSID* owner, PACL* dacl) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (GetNamedSecurityInfoW(WideOf(path).c_str(), SE_FILE_OBJECT,
                                  OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, owner, nullptr,
                                  dacl, nullptr, &descriptor) != ERROR_SUCCESS)
            return nullptr;
        return descriptor;
    }
    bool KeepsDescriptors() override {
        // A folder made with Administrators as its owner reads back so.
        const std::string probe = scratch + "\\descriptor-probe";
        PSECURITY_DESCRIPTOR given = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)",
                                                                  SDDL_REVISION_1, &given, nullptr))
            return false;
        SECURITY_ATTRIBUTES attributes{sizeof attributes, given, FALSE};
        const bool made = CreateDirectoryA(probe.c_str(), &attributes) != FALSE;
        LocalFree(given);
        const bool kept = made && Owner(probe) == "S-1-5-32-544";
        RemoveDirectoryA(probe.c_str());
        return kept;
    }
    std::string Owner(const std::string& path) override {
        PSID owner = nullptr;
        PACL dacl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = Read(path, &owner, &dacl);
        if (!descriptor) return {};
        std::string text = SidText(owner);
        LocalFree(descriptor);
        return text;
    }
    std::vector<std::string> Writers(const std::string& path) override {
        PSID owner = nullptr;
        PACL dacl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = Read(path, &owner, &dacl);
        std::vector<std::string> writers;
        if (!descriptor) return writers;
        const DWORD reading = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE | GENERIC_READ | GENERIC_EXECUTE;
        for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
            void* entry = nullptr;
            if (!GetAce(dacl, i, &entry)) continue;
            auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
            if (allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && (allowed->Mask & ~reading) != 0)
                writers.push_back(SidText(&allowed->SidStart));
        }
        LocalFree(descriptor);
        std::sort(writers.begin(), writers.end());
        writers.erase(std::unique(writers.begin(), writers.end()), writers.end());
        return writers;
    }
    bool GiveToUser(const std::string& path) override {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
        BYTE buffer[256];
        DWORD size = 0;
        const bool known = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) != FALSE;
        CloseHandle(token);
        if (!known) return false;
        PSID user = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
        if (SetNamedSecurityInfoW(&WideOf(path)[0], SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, user,
                                  nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return false;
        return Owner(path) == SidText(user);
    }
    void LetEveryoneWrite(const std::string& path) override {
        PSID owner = nullptr;
        PACL dacl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = Read(path, &owner, &dacl);
        if (!descriptor) return;
        PSID everyone = nullptr;
        ConvertStringSidToSidA("S-1-1-0", &everyone);
        EXPLICIT_ACCESS_W access{};
        access.grfAccessPermissions = FILE_ADD_FILE;
        access.grfAccessMode = GRANT_ACCESS;
        access.grfInheritance = NO_INHERITANCE;
        access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        access.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
        PACL wider = nullptr;
        if (everyone && SetEntriesInAclW(1, &access, dacl, &wider) == ERROR_SUCCESS) {
            SetNamedSecurityInfoW(&WideOf(path)[0], SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                  nullptr, wider, nullptr);
            LocalFree(wider);
        }
        if (everyone) LocalFree(everyone);
        LocalFree(descriptor);
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
