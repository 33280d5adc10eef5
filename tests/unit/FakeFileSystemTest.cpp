// What the in-memory folder tree refuses as the real file system does,
// beyond what the shared contract can set up on a real disk.
#include <gtest/gtest.h>

#include "platform/fake/FakeFileSystem.h"

namespace tv {
namespace {

TEST(FakeFileSystem, NeitherADriveRootNorABareNameIsTakenAway) {
    FakeFileSystem files;
    files.AddFolder("C:\\Keep");
    files.AddFile("C:\\Keep\\x.exe");
    files.RemoveFile("C:\\Keep\\x.exe");
    ASSERT_TRUE(files.RemoveFolder("C:\\Keep"));
    EXPECT_FALSE(files.RemoveFolder("C:\\"));
    EXPECT_TRUE(files.IsFolder("C:\\"));
    files.AddFolder("C:\\Restore");
    files.AddFile("x.exe");
    EXPECT_FALSE(files.MoveFileOut("x.exe", "C:\\", "C:\\Restore\\x.exe"));
    EXPECT_FALSE(files.Exists("C:\\Restore\\x.exe"));
}

}  // namespace
}  // namespace tv
