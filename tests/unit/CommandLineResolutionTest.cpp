#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manage/CommandLineResolution.h"
#include "manage/SharedIconKey.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeShellLinks.h"

namespace tv {
namespace {

TEST(ResolveAutostartCommand, ReducesCommandLinesToFilePaths) {
    struct Case {
        std::string command;
        std::vector<std::string> existing;
        std::string expected;
    } cases[] = {
        {"%SystemRoot%\\system32\\foo.exe /bar", {}, "c:\\windows\\system32\\foo.exe"},
        {"\"C:\\Program Files\\App\\app.exe\" -min", {}, "c:\\program files\\app\\app.exe"},
        {"rundll32.exe c:\\windows\\system32\\x.dll,Entry", {}, "c:\\windows\\system32\\x.dll"},
        {"%ProgramFiles%\\Foo\\Foo.EXE -x", {}, "c:\\program files\\foo\\foo.exe"},
        {"C:\\KV\\KVMonXP.kxp /s", {}, "c:\\kv\\kvmonxp.kxp"},
        {"ctfmon.exe /n",
         {"C:\\Windows\\ctfmon.exe", "C:\\Windows\\system32\\Wbem\\ctfmon.exe",
          "C:\\Windows\\system32\\ctfmon.exe"},
         "C:\\Windows\\ctfmon.exe"},
        {"ctfmon.exe /n",
         {"C:\\Windows\\system32\\Wbem\\ctfmon.exe", "C:\\Windows\\system32\\ctfmon.exe"},
         "C:\\Windows\\system32\\Wbem\\ctfmon.exe"},
        {"CTFMON.EXE /n", {"C:\\Windows\\system32\\ctfmon.exe"},
         "C:\\Windows\\system32\\ctfmon.exe"},
        {"ctfmon.exe /n", {}, "ctfmon.exe"},
        {"rundll32.exe shell32.dll,Control_RunDLL", {"C:\\Windows\\system32\\shell32.dll"},
         "C:\\Windows\\system32\\shell32.dll"},
        {"  Tool.exe", {}, "tool.exe"},
        // A placeholder at the very start is not taken for one.
        {"systemroot%\\x.exe", {}, "systemroot%\\x.exe"},
        // Double-byte characters whose trail bytes are 'E', '\' and 'S' are
        // kept as they are.
        {"\"C:\\旹\\昞\\App.EXE\" -x", {}, "c:\\旹\\昞\\app.exe"},
        {"%SystemRoot%\\怱.exe", {}, "c:\\windows\\怱.exe"},
        {"中文工具.exe /autorun", {"C:\\Windows\\中文工具.exe"}, "C:\\Windows\\中文工具.exe"},
        // Nothing names no file.
        {"", {"C:\\Windows\\x"}, ""},
    };
    for (const Case& c : cases) {
        FakeEnvironment environment;
        FakeFileSystem files;
        for (const std::string& path : c.existing) files.AddFile(path);
        EXPECT_EQ(ResolveAutostartCommand(environment, files, c.command), c.expected) << c.command;
    }
}

TEST(ResolveAutostartCommand, KeepsCommandsLongerThanAPathBuffer) {
    FakeEnvironment environment;
    FakeFileSystem files;
    const std::string folder(300, 'A');
    EXPECT_EQ(ResolveAutostartCommand(environment, files, "\"C:\\" + folder + "\\Run.exe\" /x"),
              "c:\\" + std::string(300, 'a') + "\\run.exe");
    const std::string name(280, 'b');
    files.AddFile("C:\\Windows\\system32\\" + name + ".exe");
    EXPECT_EQ(ResolveAutostartCommand(environment, files, name + ".exe -q"),
              "C:\\Windows\\system32\\" + name + ".exe");
}

// No command line longer than 32,767 characters runs: only that many are
// read, counted as characters (a double-byte character is one), so what
// lies beyond (here a drive path) is not taken for the program.
TEST(ResolveAutostartCommand, ReadsOnlyTheCharactersACommandLineCanHold) {
    const std::string zhong = "\xD6\xD0";  // 中
    std::string zhongs;
    for (int i = 0; i < 32764; ++i) zhongs += zhong;
    struct Case {
        std::string command;
        std::string expected;
    } cases[] = {
        // The 32,767th character is the backslash: the drive is seen.
        {std::string(32764, 'a') + "c:\\evil.exe", "c:\\"},
        {zhongs + "C:\\evil.exe", "c:\\"},
        // It is the colon: no drive path is left.
        {std::string(32765, 'a') + "c:\\evil.exe", std::string(32765, 'a') + "c:"},
        {zhongs + zhong + "C:\\evil.exe", zhongs + zhong + "c:"},
        // Whatever follows the first 32,767 characters is not looked at.
        {"\"C:\\App\\app.exe\" " + std::string(40000, ' ') + "%SystemRoot%", "c:\\app\\app.exe"},
    };
    FakeEnvironment environment;
    FakeFileSystem files;
    for (const Case& c : cases)
        EXPECT_EQ(ResolveAutostartCommand(environment, files, c.command), c.expected) << c.command.substr(32760);
}

TEST(ResolveAutostartCommand, UsesTheDirectoriesOfThePlatform) {
    FakeEnvironment environment;
    environment.windowsDirectory = "D:\\WINNT";
    environment.systemDirectory = "D:\\WINNT\\System32";
    FakeFileSystem files;
    EXPECT_EQ(ResolveAutostartCommand(environment, files, "%SystemRoot%\\a.exe"), "d:\\winnt\\a.exe");
    EXPECT_EQ(ResolveAutostartCommand(environment, files, "%ProgramFiles%\\b\\b.exe"),
              "d:\\program files\\b\\b.exe");
}

TEST(ResolveServiceImagePath, ReducesBinaryPaths) {
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"C:\\Windows\\system32\\svchost -k rpcss", "C:\\Windows\\system32\\svchost.exe"},
        {"C:\\Windows\\system32\\svchost -k DComLaunch", "C:\\Windows\\system32\\svchost.exe"},
        {"C:\\Windows\\system32\\svchost -k DcomLaunch", "C:\\Windows\\system32\\svchost.exe"},
        {"%SystemRoot%\\system32\\svchost.exe -k netsvcs", "%SystemRoot%\\system32\\svchost.exe"},
        {"\"C:\\Program Files\\A.B\\c.exe\"", "C:\\Program Files\\A.exe"},
        {"\"C:\\Tools\\spooler.exe\" /service", "C:\\Tools\\spooler.exe"},
        // The host searches are case-sensitive.
        {"C:\\Windows\\system32\\svchost -k RPCSS", "C:\\Windows\\system32\\svchost -k RPCSS.exe"},
        {"svchost -k rpcss", "svchost -k rpcss.exe"},
        {"C:\\drivers\\nodot", "C:\\drivers\\nodot.exe"},
        {"C:\\中文\\服务.exe", "C:\\中文\\服务.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveServiceImagePath(c.path), c.expected) << c.path;
}

TEST(NormalizeNtPath, TurnsKernelPathsIntoWin32Paths) {
    struct Case {
        const char* windowsDirectory;
        const char* source;
        const char* expected;
    } cases[] = {
        {"C:\\Windows", "\\??\\C:\\Windows\\system32\\csrss.exe", "C:\\Windows\\system32\\csrss.exe"},
        {"C:\\Windows", "\\SystemRoot\\System32\\smss.exe", "C:\\Windows\\System32\\smss.exe"},
        {"C:\\Windows", "\\systemroot\\x", "\\systemroot\\x"},
        {"C:\\Windows", "\\WINDOWS\\system32\\a.exe", "C:\\Windows\\system32\\a.exe"},
        {"C:\\Windows", "\\Windows\\system32\\a.exe", "\\Windows\\system32\\a.exe"},
        {"C:\\Windows", "C:\\Windows\\explorer.exe", "C:\\Windows\\explorer.exe"},
        {"", "\\SystemRoot\\x.exe", "\\SystemRoot\\x.exe"},
        {"", "\\WINDOWS\\x.exe", "\\WINDOWS\\x.exe"},
        {"", "\\??\\D:\\y.exe", "D:\\y.exe"},
        {"C:\\Windows", "", "unchanged"},
    };
    for (const Case& c : cases) {
        FakeEnvironment environment;
        environment.windowsDirectory = c.windowsDirectory;
        std::string destination = "unchanged";
        NormalizeNtPath(environment, c.source, &destination);
        EXPECT_EQ(destination, c.expected) << c.source;
    }
}

TEST(ResolveShortcutTarget, GivesTheTargetOrLeavesTheDestination) {
    FakeShellLinks links;
    links.Add("C:\\S\\app.lnk", "C:\\Program Files\\App\\App.exe");
    links.Add("C:\\S\\control.lnk", "");
    std::string path = "c:\\s\\app.lnk";
    EXPECT_TRUE(ResolveShortcutTarget(links, path, &path));
    EXPECT_EQ(path, "C:\\Program Files\\App\\App.exe");
    path = "c:\\s\\control.lnk";
    EXPECT_TRUE(ResolveShortcutTarget(links, path, &path));
    EXPECT_EQ(path, "");
    path = "c:\\s\\broken.lnk";
    EXPECT_FALSE(ResolveShortcutTarget(links, path, &path));
    EXPECT_EQ(path, "c:\\s\\broken.lnk");
}

TEST(SharedIconKey, OnlyTypesWithoutIconsOfTheirOwnShareOne) {
    const struct {
        const char* path;
        const char* key;
    } cases[] = {
        {"C:\\Tools\\Start.BAT", ".bat"},
        {"c:\\notes\\readme.txt", ".txt"},
        {"C:\\Program Files\\App\\app.exe", ""},
        {"C:\\S\\app.LNK", ""},
        {"C:\\Windows\\system32\\logon.scr", ""},
        {"C:\\S\\my.icon.ico", ""},
        // No extension, or a dot in a folder name only.
        {"C:\\v1.2\\tool", ""},
        {"C:\\S\\trailing.", ""},
        {"", ""},
        // A double-byte extension whose trail byte is '\\' stays one.
        {"C:\\x.\x95\x5c", ".\x95\x5c"},
    };
    for (const auto& c : cases) EXPECT_EQ(SharedIconKey(c.path), c.key) << c.path;
}

}  // namespace
}  // namespace tv
