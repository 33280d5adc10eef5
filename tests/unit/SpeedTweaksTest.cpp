// The speed tweaks against the fakes: every value written for each set of
// choices, and the prefetch and memory dump clean-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "tests/contract/RegistryDump.h"
#include "tweaks/SpeedTweaks.h"

namespace tv {
namespace {

// Passes every call on to the in-memory tree and records it.
class RecordingFiles : public FileSystem {
public:
    FakeFileSystem tree;
    std::vector<std::string> calls;

    bool Exists(const std::string& path) const override { return tree.Exists(path); }
    bool IsFolder(const std::string& path) const override { return tree.IsFolder(path); }
    bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) const override {
        const_cast<RecordingFiles*>(this)->calls.push_back("list " + folder);
        return tree.ListFolder(folder, entries);
    }
    bool FolderIdentity(const std::string& folder, FileIdentity* identity) const override {
        return tree.FolderIdentity(folder, identity);
    }
    bool RemoveFile(const std::string& path) override {
        calls.push_back("file " + path);
        return tree.RemoveFile(path);
    }
    bool RemoveFolder(const std::string& path) override {
        calls.push_back("folder " + path);
        return tree.RemoveFolder(path);
    }
    std::string WorkingFolder() const override { return tree.WorkingFolder(); }
    bool SetWorkingFolder(const std::string& path) override { return tree.SetWorkingFolder(path); }
};

SpeedTweakChoices Choices(bool app, bool service, bool prefetch, bool shutdown, bool dll) {
    SpeedTweakChoices c;
    c.appResponse = app;
    c.serviceTimeout = service;
    c.prefetch = prefetch;
    c.shutdown = shutdown;
    c.dllUnload = dll;
    return c;
}

// Hex of a REG_SZ with its NUL.
std::string Sz(const std::string& text) {
    std::string hex;
    char byte[4];
    for (unsigned char c : text) {
        std::snprintf(byte, sizeof byte, "%02x", c);
        hex += byte;
    }
    return "1:" + hex + "00";
}

const char kControl[] = "SYSTEM\\CurrentControlSet\\Control";
const char kSession[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";

class SpeedTweaksTest : public ::testing::Test {
protected:
    void Apply(const SpeedTweakChoices& choices) {
        ApplySpeedTweaks(choices, registry_, files_, environment_);
    }
    std::vector<std::string> Values(RegHandle root, const std::string& path) {
        std::vector<std::string> lines = tvtest::DumpTree(registry_, root, path);
        std::vector<std::string> values;
        for (const std::string& line : lines)
            if (line.rfind("[] ", 0) == 0) values.push_back(line.substr(3));
        return values;
    }
    // Everything written, key by key.
    // Every file and folder held, drive roots left out.
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const std::string& path : files_.tree.AllPaths())
            if (path.size() > 3) paths.push_back(path);
        return paths;
    }
    std::vector<std::vector<std::string>> Written() {
        return {Values(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Dfrg\\BootOptimizeFunction"),
                Values(kHkeyLocalMachine, kControl),
                Values(kHkeyLocalMachine, kSession),
                Values(kHkeyCurrentUser, "Control Panel\\Desktop"),
                Values(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer")};
    }
    void AddPrefetch() {
        files_.tree.AddFile("C:\\Windows\\Prefetch\\NOTEPAD.EXE-1234.pf");
        files_.tree.AddFile("C:\\Windows\\Prefetch\\Layout.ini");
        files_.tree.AddFile("C:\\Windows\\Prefetch\\ReadyBoot\\Trace1.fx");
        files_.tree.AddFile("C:\\Windows\\memory.dmp");
        files_.tree.AddFile("C:\\Windows\\notepad.exe");
    }

    FakeRegistry registry_;
    RecordingFiles files_;
    FakeEnvironment environment_;
};

TEST_F(SpeedTweaksTest, EveryChoiceWritesTheCheckedValues) {
    AddPrefetch();
    Apply(Choices(true, true, true, true, true));
    using Lines = std::vector<std::string>;
    EXPECT_EQ(Written(),
              (std::vector<Lines>{
                  {"Enable=" + Sz("Y")},
                  {"SystemStartOptions=" + Sz("NODETECT"), "WaitToKillServiceTimeout=" + Sz("1")},
                  // An empty multi-string: type 7, exactly one zero byte.
                  {"AutoChkTimeOut=4:01000000", "BootExecute=7:00"},
                  {"AutoEndTasks=" + Sz("1"), "HungAppTimeout=" + Sz("1"),
                   "WaitToKillAppTimeout=" + Sz("1")},
                  {"AlwaysUnloadDLL=4:01000000"}}));
    EXPECT_EQ(Paths(),
              (std::vector<std::string>{"C:\\Windows", "C:\\Windows\\notepad.exe"}));
    EXPECT_EQ(environment_.waits, std::vector<unsigned>{300});
    EXPECT_EQ(registry_.OpenHandleCount(), 0u);
}

TEST_F(SpeedTweaksTest, NothingCheckedWritesTheDefaultsAndTouchesNoFile) {
    AddPrefetch();
    std::vector<std::string> before = Paths();
    Apply(Choices(false, false, false, false, false));
    using Lines = std::vector<std::string>;
    EXPECT_EQ(Written(),
              (std::vector<Lines>{{},
                                  {"WaitToKillServiceTimeout=" + Sz("20000")},
                                  {},
                                  // The on/off switch goes off; the time-outs back to 20 s.
                                  {"AutoEndTasks=" + Sz("0"), "HungAppTimeout=" + Sz("20000"),
                                   "WaitToKillAppTimeout=" + Sz("20000")},
                                  {"AlwaysUnloadDLL=4:00000000"}}));
    EXPECT_EQ(Sz("20000"), "1:323030303000") << "six bytes: five digits and the NUL";
    EXPECT_TRUE(files_.calls.empty());
    EXPECT_EQ(Paths(), before);
    EXPECT_TRUE(environment_.waits.empty());
}

TEST_F(SpeedTweaksTest, EitherOfTheQuickEndBoxesSwitchesTheDesktopValues) {
    struct Case {
        const char* name;
        bool app, shutdown;
        const char* autoEnd;
        const char* timeout;
    } cases[] = {{"only 1014", false, true, "1", "1"},
                 {"only 1052", true, false, "1", "1"},
                 {"both", true, true, "1", "1"},
                 {"neither", false, false, "0", "20000"}};
    for (const Case& c : cases) {
        FakeRegistry registry;
        ApplySpeedTweaks(Choices(c.app, false, false, c.shutdown, false), registry, files_,
                         environment_);
        EXPECT_EQ(tvtest::DumpTree(registry, kHkeyCurrentUser, "Control Panel\\Desktop"),
                  (std::vector<std::string>{"[]", "[] AutoEndTasks=" + Sz(c.autoEnd),
                                            "[] HungAppTimeout=" + Sz(c.timeout),
                                            "[] WaitToKillAppTimeout=" + Sz(c.timeout)}))
            << c.name;
    }
}

TEST_F(SpeedTweaksTest, FilesThatCannotBeDeletedStayAndSoDoesTheirFolder) {
    files_.tree.AddFile("C:\\Windows\\Prefetch\\A.pf");
    files_.tree.AddFile("C:\\Windows\\Prefetch\\Busy.pf", false, true);
    files_.tree.AddFile("C:\\Windows\\Prefetch\\Sub\\B.pf");
    files_.tree.AddFile("C:\\Windows\\Prefetch\\Sub\\Deeper\\C.pf");
    files_.tree.AddFile("C:\\Windows\\Prefetch\\Locked\\ReadOnly.pf", true);
    files_.tree.AddFile("C:\\Windows\\Prefetch\\Z.pf");
    Apply(Choices(false, false, true, false, false));
    EXPECT_EQ(Paths(),
              (std::vector<std::string>{"C:\\Windows", "C:\\Windows\\Prefetch",
                                        "C:\\Windows\\Prefetch\\Busy.pf",
                                        "C:\\Windows\\Prefetch\\Locked",
                                        "C:\\Windows\\Prefetch\\Locked\\ReadOnly.pf"}));
    // Depth first: a subfolder is emptied and removed before the walk goes on.
    std::vector<std::string> expected = {
        "list C:\\Windows\\Prefetch",
        "file C:\\Windows\\Prefetch\\A.pf",
        "file C:\\Windows\\Prefetch\\Busy.pf",
        "list C:\\Windows\\Prefetch\\Locked",
        "file C:\\Windows\\Prefetch\\Locked\\ReadOnly.pf",
        "folder C:\\Windows\\Prefetch\\Locked",
        "list C:\\Windows\\Prefetch\\Sub",
        "file C:\\Windows\\Prefetch\\Sub\\B.pf",
        "list C:\\Windows\\Prefetch\\Sub\\Deeper",
        "file C:\\Windows\\Prefetch\\Sub\\Deeper\\C.pf",
        "folder C:\\Windows\\Prefetch\\Sub\\Deeper",
        "folder C:\\Windows\\Prefetch\\Sub",
        "file C:\\Windows\\Prefetch\\Z.pf",
        "folder C:\\Windows\\Prefetch",
        "file C:\\Windows\\memory.dmp",
    };
    EXPECT_EQ(files_.calls, expected);
}

TEST_F(SpeedTweaksTest, SecondClickGivesTheSameResult) {
    AddPrefetch();
    files_.tree.AddFile("C:\\Windows\\Prefetch\\Busy.pf", false, true);
    Apply(Choices(true, false, true, false, true));
    auto written = Written();
    auto paths = Paths();
    Apply(Choices(true, false, true, false, true));
    EXPECT_EQ(Written(), written);
    EXPECT_EQ(Paths(), paths);
    EXPECT_EQ(environment_.waits, (std::vector<unsigned>{300, 300}));
}

TEST_F(SpeedTweaksTest, WithoutAWindowsDirectoryNothingIsDeleted) {
    files_.tree.AddFile("C:\\Prefetch\\A.pf");
    files_.tree.AddFile("C:\\memory.dmp");
    environment_.windowsDirectory = "";
    Apply(Choices(true, true, true, true, true));
    EXPECT_TRUE(files_.calls.empty());
    EXPECT_TRUE(files_.tree.Exists("C:\\Prefetch\\A.pf"));
    EXPECT_TRUE(files_.tree.Exists("C:\\memory.dmp"));
    // The registry part is done all the same.
    EXPECT_EQ(Values(kHkeyLocalMachine, kSession),
              (std::vector<std::string>{"AutoChkTimeOut=4:01000000", "BootExecute=7:00"}));
}

TEST_F(SpeedTweaksTest, PathsKeepLongNamesAndDoubleByteNames) {
    // A Windows directory and a folder whose last byte is a trail byte equal
    // to the backslash (CP936 "踈"), and a name longer than any fixed buffer.
    environment_.windowsDirectory = "D:\\\xDB\x5C";
    const std::string longName(300, 'x');
    files_.tree.AddFile("D:\\\xDB\x5C\\Prefetch\\\xDB\x5C\\" + longName + ".pf");
    files_.tree.AddFile("D:\\\xDB\x5C\\Prefetch\\" + longName + "\\a.pf");
    files_.tree.AddFile("D:\\\xDB\x5C\\memory.dmp");
    files_.tree.AddFile("D:\\\xDB\x5C\\keep.txt");
    Apply(Choices(false, false, true, false, false));
    EXPECT_EQ(Paths(),
              (std::vector<std::string>{"D:\\\xDB\x5C", "D:\\\xDB\x5C\\keep.txt"}));
}

TEST_F(SpeedTweaksTest, WindowsDirectoryAtARootGetsNoDoubleSeparator) {
    environment_.windowsDirectory = "C:\\";
    files_.tree.AddFile("C:\\Prefetch\\A.pf");
    Apply(Choices(false, false, true, false, false));
    EXPECT_EQ(files_.calls.front(), "list C:\\Prefetch");
    EXPECT_FALSE(files_.tree.Exists("C:\\Prefetch"));
}

TEST_F(SpeedTweaksTest, LinkedFoldersGoButNotWhatTheyPointTo) {
    files_.tree.AddFile("C:\\Windows\\Prefetch\\A.pf");
    files_.tree.AddLink("C:\\Windows\\Prefetch\\Elsewhere");
    DeleteFolderTree(files_, "C:\\Windows\\Prefetch");
    EXPECT_EQ(files_.calls, (std::vector<std::string>{"list C:\\Windows\\Prefetch",
                                                       "file C:\\Windows\\Prefetch\\A.pf",
                                                       "folder C:\\Windows\\Prefetch\\Elsewhere",
                                                       "folder C:\\Windows\\Prefetch"}));
    EXPECT_FALSE(files_.tree.Exists("C:\\Windows\\Prefetch"));
}

TEST_F(SpeedTweaksTest, AMissingFolderIsNoError) {
    DeleteFolderTree(files_, "C:\\Windows\\Prefetch");
    EXPECT_EQ(files_.calls, (std::vector<std::string>{"list C:\\Windows\\Prefetch",
                                                       "folder C:\\Windows\\Prefetch"}));
    EXPECT_TRUE(Paths().empty());
}

}  // namespace
}  // namespace tv
