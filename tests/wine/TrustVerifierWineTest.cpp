// Windows' trust provider on what only the real system has: its own files,
// paths that would reach the network, and the whole service list, timed on
// the first fill and on a refresh through the cache.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "manage/ServiceScan.h"
#include "manage/SignatureCache.h"
#include "tests/support/FakePlatform.h"
#include "platform/Platform.h"
#include "platform/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ServiceDatabase.h"
#include "platform/win32/Win32SystemFiles.h"
#include "platform/win32/Win32TextCodec.h"
#include "platform/win32/Win32TrustVerifier.h"
#include "platform/win32/Win32VersionResources.h"

namespace tv {
namespace {

std::u16string SystemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    const std::wstring path = std::wstring(folder) + L"\\" + name;
    return std::u16string(path.begin(), path.end());
}

TEST(TrustVerifierWine, PathsOffTheLocalDrivesAreNeverOpened) {
    Win32TrustVerifier verifier;
    struct Case {
        std::u16string path;
        TrustState state;
    } cases[] = {
        // Wine's own DLLs carry no signature, and no catalog lists them.
        {SystemFile(L"kernel32.dll"), TrustState::kUnsigned},
        // A share or a device is never read, whatever it holds.
        {u"\\\\tv-nowhere.invalid\\share\\agent.exe", TrustState::kNoFile},
        {u"\\\\?\\UNC\\tv-nowhere.invalid\\share\\agent.exe", TrustState::kNoFile},
        {u"\\\\.\\pipe\\tv-trust", TrustState::kNoFile},
        {u"relative\\agent.exe", TrustState::kNoFile},
        {u"", TrustState::kNoFile},
    };
    for (const Case& c : cases) {
        const TrustVerdict verdict = verifier.Verify(c.path);
        EXPECT_EQ(static_cast<int>(verdict.state), static_cast<int>(c.state))
            << std::string(c.path.begin(), c.path.end());
    }
}

// Counts what reaches the real verifier.
class CountingVerifier : public TrustVerifier {
public:
    TrustVerdict Verify(const std::u16string& path) override {
        ++calls;
        return real_.Verify(path);
    }
    std::atomic<int> calls{0};

private:
    Win32TrustVerifier real_;
};

TEST(TrustVerifierWine, EveryServiceFileIsVerifiedOnceAndThenComesFromTheCache) {
    // What the service list reads: the services, their files' versions and
    // protection.
    Win32ServiceDatabase services;
    Win32VersionResources versions;
    Win32SystemFiles systemFiles;
    testing::FakePlatform fakes;
    Platform platform = fakes.Get();
    platform.serviceDatabase = services;
    platform.versions = versions;
    platform.systemFiles = systemFiles;
    Win32FileSystem files;
    Win32TextCodec codec;
    std::vector<std::u16string> paths;
    for (const ListRow& row : ServiceScan(platform))
        paths.push_back(codec.AnsiToWide(row[kServiceFilePath]));
    ASSERT_FALSE(paths.empty());

    CountingVerifier verifier;
    SignatureCache cache(verifier, files);
    auto timed = [&] {
        const auto start = std::chrono::steady_clock::now();
        for (const std::u16string& path : paths) cache.Verify(path);
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    const double first = timed();
    const int verified = verifier.calls.load();
    const double again = timed();
    std::set<std::u16string> distinct(paths.begin(), paths.end());
    std::printf("[ timing ] %zu services (%zu files): first fill %.1f ms, refresh %.1f ms\n",
                paths.size(), distinct.size(), first, again);
    // Each file once, however many services share it; a path with no file
    // keeps nothing and is asked for each time it is listed.
    std::set<std::u16string> kept;
    int missing = 0;
    for (const std::u16string& path : paths) {
        FileStamp stamp;
        if (files.FileStampW(path, &stamp))
            kept.insert(utf16::FoldAscii(path));
        else
            ++missing;
    }
    EXPECT_EQ(verified, static_cast<int>(kept.size()) + missing);
    EXPECT_EQ(verifier.calls.load() - verified, missing);
}

}  // namespace
}  // namespace tv
