// The files tools/make-signed-files.sh made beside this test program, and
// its test root in the machine's root store while a test runs, put there by
// a process of its own before this one verifies anything.
#include "tests/contract/TrustUnderTest.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/Win32TrustVerifier.h"
#include "tests/support/ChildProcess.h"

namespace {

// This program's folder, with its backslash; the build tree's path is ASCII.
std::wstring TestsFolder() {
    wchar_t module[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module, length < MAX_PATH ? length : 0);
    path.erase(path.find_last_of(L'\\') + 1);
    return path;
}

std::string ReadAll(const std::wstring& path) {
    std::ifstream in(std::string(path.begin(), path.end()), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct RealTrust : TrustUnderTest {
    RealTrust() {
        verifier = std::make_unique<tv::Win32TrustVerifier>();
        std::string status = ReadAll(folder_ + L"\\status.txt");
        while (!status.empty() && (status.back() == '\n' || status.back() == '\r')) status.pop_back();
        if (status != "ok") {
            problem = status.empty() ? "no signed samples were made (tools/make-signed-files.sh)"
                                     : status;
            return;
        }
        if (Run(L"add") != 0) problem = "cannot add the test root to the machine's root store";
    }
    ~RealTrust() override {
        // No machine keeps the test root after the test (Wine's store keeps
        // it regardless; its prefix is the tests' own).
        if (problem.empty()) Run(L"remove");
    }
    long Run(const wchar_t* action) {
        const std::wstring command = L"\"" + tests_ + L"tv_rootstore.exe\" " + action + L" \"" +
                                     folder_ + L"\\root.der\"";
        return tv::testing::RunAndWait(std::string(command.begin(), command.end()), true);
    }
    std::u16string PathOf(TrustSample sample) override {
        const wchar_t* name = L"";
        switch (sample) {
            case TrustSample::kSigned: name = L"\\signed.exe"; break;
            case TrustSample::kUnsigned: name = L"\\unsigned.exe"; break;
            case TrustSample::kTampered: name = L"\\tampered.exe"; break;
            case TrustSample::kForeignRoot: name = L"\\foreign.exe"; break;
            case TrustSample::kMissing: name = L"\\missing.exe"; break;
            case TrustSample::kFolder: name = L""; break;
        }
        const std::wstring path = folder_ + name;
        return std::u16string(path.begin(), path.end());
    }

    std::wstring tests_ = TestsFolder();
    std::wstring folder_ = tests_ + L"signed";
};

}  // namespace

std::unique_ptr<TrustUnderTest> MakeTrustUnderTest() { return std::make_unique<RealTrust>(); }
