// A 32-bit build on 64-bit Windows (WOW64) sees the machine as the system
// does: a 64-bit process is listed with its image path, and a service image
// that lies only in the real system directory is found there (through the
// Sysnative alias) with its version. Skipped in every other setting; the
// wow64 tier runs it in a 64-bit prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manage/CommandLineResolution.h"
#include "manage/ProcessList.h"
#include "manage/ServiceScan.h"
#include "tests/support/FakePlatform.h"
#include "platform/CodePageText.h"
#include "platform/Platform.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProcessTable.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ServiceDatabase.h"
#include "platform/win32/Win32SystemFiles.h"
#include "platform/win32/Win32SystemProbe.h"
#include "platform/win32/Win32Tokens.h"
#include "platform/win32/Win32VersionResources.h"

namespace tv {
namespace {

bool RunsUnderWow64() {
    BOOL wow64 = FALSE;
    return sizeof(void*) == 4 && IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

using ScopedSc = ServiceHandle;

class Wow64 : public ::testing::Test {
protected:
    void SetUp() override {
        if (!RunsUnderWow64()) GTEST_SKIP() << "needs a 32-bit build on 64-bit Windows";
        platform_.registry = registry_;
        platform_.environment = environment_;
        platform_.files = files_;
        platform_.system = system_;
        platform_.processes = processes_;
        platform_.versions = versions_;
        platform_.tokens = tokens_;
        platform_.serviceDatabase = services_;
        platform_.systemFiles = systemFiles_;
    }
    Win32Registry registry_;
    Win32Environment environment_;
    Win32FileSystem files_;
    Win32SystemProbe system_;
    Win32ProcessTable processes_;
    Win32VersionResources versions_;
    Win32Tokens tokens_;
    Win32ServiceDatabase services_;
    Win32SystemFiles systemFiles_;
    // What the tests do not read stays fake.
    testing::FakePlatform fakes_;
    Platform platform_ = fakes_.Get();
};

TEST_F(Wow64, A64BitProcessIsListedWithItsImagePath) {
    const std::string system = environment_.SystemDirectory();
    // The 64-bit command processor, held suspended while it is looked at.
    std::string command = environment_.WindowsDirectory() + "\\Sysnative\\cmd.exe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessA(command.c_str(), nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                               nullptr, nullptr, &startup, &info));
    ScopedHandle process(info.hProcess);
    ScopedHandle thread(info.hThread);
    std::string path;
    for (const ListRow& row : ListProcessRows(platform_))
        if (row[kProcessId] == std::to_string(info.dwProcessId)) path = row[kProcessPath];
    TerminateProcess(process.Get(), 0);
    EXPECT_TRUE(text::EqualsNoCase(path, system + "\\cmd.exe")) << path;
}

TEST_F(Wow64, AServiceImageOnlyInTheRealSystemDirectoryHasItsVersion) {
    const std::string windows = environment_.WindowsDirectory();
    const std::string name = "tvwow64" + std::to_string(GetCurrentProcessId());
    // A file of the 64-bit system directory alone, with a version resource.
    // It is named .exe: the file path column always ends in ".exe" (a
    // service's image path is cut at its first dot).
    const std::string real = windows + "\\Sysnative\\" + name + ".exe";
    ASSERT_TRUE(CopyFileA((windows + "\\Sysnative\\kernel32.dll").c_str(), real.c_str(), FALSE));
    const std::string shown = environment_.SystemDirectory() + "\\" + name + ".exe";
    ScopedSc manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ScopedSc service(CreateServiceA(manager.Get(), name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                    SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                    SERVICE_ERROR_NORMAL, shown.c_str(), nullptr, nullptr, nullptr,
                                    nullptr, nullptr));
    ASSERT_TRUE(service);
    std::vector<ListRow> rows = ServiceScan(platform_);
    DeleteService(service.Get());
    DeleteFileA(real.c_str());
    const ListRow* row = nullptr;
    for (const ListRow& r : rows)
        if (r[kServiceName] == name) row = &r;
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(text::EqualsNoCase((*row)[kServiceFilePath], shown)) << (*row)[kServiceFilePath];
    EXPECT_FALSE((*row)[kServiceFileVersion].empty());
}

// A bare command name is looked for in the system directory as the system
// means it: a file that lies only in the real (64-bit) one is found there.
TEST_F(Wow64, ABareCommandOnlyInTheRealSystemDirectoryIsFound) {
    const std::string windows = environment_.WindowsDirectory();
    const std::string name = "tvbare" + std::to_string(GetCurrentProcessId()) + ".exe";
    const std::string real = windows + "\\Sysnative\\" + name;
    ASSERT_TRUE(CopyFileA((windows + "\\Sysnative\\kernel32.dll").c_str(), real.c_str(), FALSE));
    const std::string found = ResolveAutostartCommand(environment_, files_, name + " /background");
    DeleteFileA(real.c_str());
    EXPECT_TRUE(text::EqualsNoCase(found, environment_.SystemDirectory() + "\\" + name)) << found;
}

}  // namespace
}  // namespace tv
