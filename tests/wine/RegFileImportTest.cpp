// The system's registry editor and ImportRegFile must read the same file
// into the same tree: regedit imports the fixture into the real registry, the
// in-memory registry loads it through ImportRegFile, and the two subtrees are
// compared value by value.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/RegFile.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32TextCodec.h"
#include "tests/contract/RegistryDump.h"
#include "tests/support/ChildProcess.h"

namespace {

using tv::testing::RunAndWait;

const char kFixtureKey[] = "Software\\TrimvexFixture";

std::string FixturePath(const char* name) {
    char module[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path(module, length < MAX_PATH ? length : 0);
    path.erase(path.find_last_of('\\') + 1);
    return path + "fixtures\\" + name;
}

class RegFileImport : public ::testing::Test {
protected:
    void SetUp() override {
        tv::DeleteKeyTree(registry_, tv::kHkeyCurrentUser, kFixtureKey);
    }
    void TearDown() override {
        const long rc = tv::DeleteKeyTree(registry_, tv::kHkeyCurrentUser, kFixtureKey);
        EXPECT_TRUE(rc == tv::kErrorSuccess || rc == tv::kErrorFileNotFound) << rc;
    }

    tv::Win32Registry registry_;
};

TEST_F(RegFileImport, RegeditAndImportRegFileBuildTheSameTree) {
    const std::string path = FixturePath("sample.reg");
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    ASSERT_EQ(RunAndWait("regedit.exe /S \"" + path + "\""), 0);
    const auto imported = tvtest::DumpTree(registry_, tv::kHkeyCurrentUser, kFixtureKey);

    tv::FakeRegistry fake;
    tv::RegFileError error;
    ASSERT_TRUE(tv::ImportRegFile(fake, bytes, tv::Win32TextCodec(), &error))
        << error.line << ": " << error.message;
    const auto loaded = tvtest::DumpTree(fake, tv::kHkeyCurrentUser, kFixtureKey);

    // Both trees hold the fixture's 4 keys and 14 values.
    EXPECT_EQ(loaded.size(), 18u);
    EXPECT_EQ(imported, loaded);
}

}  // namespace
