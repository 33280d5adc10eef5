// The speed tweaks against the fakes: every value written for each set of
// choices, and the prefetch and memory dump clean-up; the restore file every
// tweak keeps first.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/WideText.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "tests/support/RegFile.h"
#include "restore/RestoreFiles.h"
#include "tests/contract/RegistryDump.h"
#include "tests/support/FakePlatform.h"
#include "tweaks/AppearanceTweaks.h"
#include "tweaks/SpeedTweaks.h"
#include "manage/ProcessActions.h"
#include "manage/ServiceDeletion.h"
#include "platform/RegistryViews.h"
#include "tweaks/UacSwitch.h"

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
    bool CreateFolder(const std::string& path) override { return tree.CreateFolder(path); }
    ProtectedFolder CreateProtectedFolder(const std::string& path) override {
        return tree.CreateProtectedFolder(path);
    }
    std::unique_ptr<NewFile> WriteNewFile(const std::string& path,
                                          const std::string& bytes) override {
        return tree.WriteNewFile(path, bytes);
    }
    bool MoveFileOut(const std::string& from, const std::string& within,
                     const std::string& to) override {
        return tree.MoveFileOut(from, within, to);
    }
    std::string WorkingFolder() const override { return tree.WorkingFolder(); }
    bool SetWorkingFolder(const std::string& path) override { return tree.SetWorkingFolder(path); }
    bool ExistsW(const std::u16string& path) const override { return tree.ExistsW(path); }
    bool ListFolderW(const std::u16string& folder,
                     std::vector<FolderEntry>* entries) const override {
        return tree.ListFolderW(folder, entries);
    }
    bool FolderIdentityW(const std::u16string& folder, FileIdentity* identity) const override {
        return tree.FolderIdentityW(folder, identity);
    }
    bool FileStampW(const std::u16string& path, FileStamp* stamp) const override {
        return tree.FileStampW(path, stamp);
    }
    bool MoveFileOutW(const std::u16string& from, const std::u16string& within,
                      const std::u16string& to) override {
        return tree.MoveFileOutW(from, within, to);
    }
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

// Every writer of machine-wide values under HKLM\Software (or the classes)
// writes where the system reads: the 64-bit view on 64-bit Windows, and on
// 32-bit Windows its one view, asked for without any view bit.
TEST(MachineWriters, WriteInTheViewTheSystemReads) {
    struct Writer {
        const char* what;
        std::function<void(Platform&)> write;
        RegHandle root;
        const char* key;
        const char* value;
    };
    const Writer writers[] = {
        {"boot optimisation",
         [](Platform& p) {
             SpeedTweakChoices choices;
             choices.prefetch = true;
             EXPECT_TRUE(ApplySpeedTweaks(p, choices));
         },
         kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Dfrg\\BootOptimizeFunction", "Enable"},
        {"unload DLLs",
         [](Platform& p) {
             EXPECT_TRUE(ApplySpeedTweaks(p, SpeedTweakChoices{}));
         },
         kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer", "AlwaysUnloadDLL"},
        {"icon cache",
         [](Platform& p) { EXPECT_TRUE(ApplyDesktopTweaks(p, {false, true, false, false})); },
         kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer", "Max Cached Icons"},
        {"UAC switch",
         [](Platform& p) {
             UacSwitch uac(*p.registry, SystemView(p));
             uac.Read();
             EXPECT_TRUE(uac.Toggle(p));  // and read back where it was written
         },
         kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", "EnableLUA"},
        {"shell restart", [](Platform& p) { WriteAutoRestartShell(p); }, kHkeyLocalMachine,
         "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "AutoRestartShell"},
    };
    for (const Writer& w : writers) {
        for (bool system64 : {true, false}) {
            SCOPED_TRACE(std::string(w.what) + (system64 ? " on 64-bit" : " on 32-bit"));
            testing::FakePlatform fake;
            if (system64) fake.registry.UseViews(FakeRegistry::Views::TwoFor32BitProgram);
            fake.system.is64BitSystem = system64;
            Platform platform = fake.Get();
            w.write(platform);
            std::string data;
            std::uint32_t number = 0;
            auto present = [&](std::uint32_t view) {
                RegKey key = RegKey::Open(fake.registry, w.root, w.key, kKeyRead | view);
                return key.ReadString(w.value, 16, &data) || key.ReadDword(w.value, &number);
            };
            EXPECT_TRUE(present(system64 ? kKeyWow64_64Key : 0));
            // The 32-bit copy stays as it was, unless the key is shared.
            const bool shared = std::string(w.key).find("Policies") != std::string::npos;
            if (system64) {
                EXPECT_EQ(present(kKeyWow64_32Key), shared);
            }
            EXPECT_EQ(fake.registry.ViewBitsSeen(), system64);
        }
    }
}

// Each tweak button keeps a restore file first; importing it gives back the
// registry as it was before the click, values the tweak added included. A
// restore file that cannot be written stops the tweak.
TEST(TweakRestoreTest, EveryTweakKeepsARestoreFileOrChangesNothing) {
    using Lines = std::vector<std::string>;
    struct Case {
        const char* label;
        const char* file;
        bool (*apply)(const Platform&);
    } cases[] = {
        {"speed", "速度优化",
         [](const Platform& p) { return ApplySpeedTweaks(p, Choices(true, true, true, false, true)); }},
        {"desktop", "桌面优化",
         [](const Platform& p) { return ApplyDesktopTweaks(p, DesktopTweakChoices{}); }},
        {"theme", "主题设置",
         [](const Platform& p) {
             OpenThemeSettings(p);
             std::uint32_t composition = 0;
             RegKey::Open(*p.registry, kHkeyCurrentUser, "Software\\Microsoft\\Windows\\DWM", kKeyRead)
                 .ReadDword("Composition", &composition);
             return composition == 1;
         }},
        {"uac", "UAC 开关",
         [](const Platform& p) {
             UacSwitch uac(*p.registry);
             const bool before = uac.Read();
             return uac.Toggle(p) != before;
         }},
    };
    for (const Case& c : cases) {
        for (bool full : {false, true}) {
            SCOPED_TRACE(std::string(c.label) + (full ? ", disk full" : ""));
            testing::FakePlatform fakes;
            // Some values there before, most absent: those must go again.
            RegKey::Create(fakes.registry, kHkeyCurrentUser, "Control Panel\\Desktop")
                .SetString("HungAppTimeout", "5000");
            RegKey::Create(fakes.registry, kHkeyCurrentUser, "Software\\Microsoft\\Windows\\DWM")
                .SetDword("Composition", 0);
            RegKey::Create(fakes.registry, kHkeyLocalMachine,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System")
                .SetDword("EnableLUA", 1);
            RegKey::Create(fakes.registry, kHkeyClassesRoot, "lnkfile").SetString("IsShortcut", "");
            RegKey::Create(fakes.registry, kHkeyLocalMachine,
                           "SYSTEM\\CurrentControlSet\\Control\\Session Manager");
            fakes.files.SetFull(full);
            auto dump = [&] {
                Lines all = tvtest::DumpTree(fakes.registry, kHkeyCurrentUser, "");
                for (const std::string& l : tvtest::DumpTree(fakes.registry, kHkeyLocalMachine, ""))
                    all.push_back(l);
                return all;
            };
            const Lines before = dump();

            const bool applied = c.apply(fakes.Get());
            std::vector<FolderEntry> kept;
            fakes.files.ListFolder(RestoreFolderPath(fakes.Get()), &kept);
            if (full) {
                EXPECT_FALSE(applied);
                EXPECT_EQ(dump(), before);
                ASSERT_EQ(fakes.prompter.Prompts().size(), 1u);
                EXPECT_EQ(fakes.prompter.Prompts()[0].text, kRestoreFailedMessage);
                EXPECT_TRUE(kept.empty());
                continue;
            }
            EXPECT_TRUE(applied);
            EXPECT_NE(dump(), before);
            ASSERT_EQ(kept.size(), 1u);
            EXPECT_EQ(kept[0].name.Shown(), std::string("2009-10-25 12.00.00 ") + c.file + ".reg");
            const std::string bytes =
                fakes.files.Contents(RestoreFolderPath(fakes.Get()) + "\\" + kept[0].name.Shown());
            // One section per key.
            std::u16string text = utf16::FromBytes(std::string_view(bytes).substr(2));
            std::vector<std::u16string> headers;
            for (std::size_t at = text.find(u"\n["); at != std::u16string::npos; at = text.find(u"\n[", at + 1))
                headers.push_back(text.substr(at, text.find(u'\r', at) - at));
            // Class keys under their real roots only.
            EXPECT_EQ(text.find(u"HKEY_CLASSES_ROOT"), std::u16string::npos);
            std::sort(headers.begin(), headers.end());
            EXPECT_EQ(std::adjacent_find(headers.begin(), headers.end()), headers.end());
            RegFileError error;
            ASSERT_TRUE(ImportRegFile(fakes.registry, bytes, fakes.codec, &error)) << error.message;
            EXPECT_EQ(dump(), before);
            EXPECT_TRUE(fakes.prompter.Prompts().empty());

            // A second click in the same second gets a numbered name.
            EXPECT_TRUE(c.apply(fakes.Get()));
            fakes.files.ListFolder(RestoreFolderPath(fakes.Get()), &kept);
            ASSERT_EQ(kept.size(), 2u);
            EXPECT_EQ(kept[0].name.Shown(), std::string("2009-10-25 12.00.00 ") + c.file + " (2).reg");
        }
    }
}


// Where a restore file goes and what it is called, as the user finds it.
TEST(TweakRestoreTest, RestoreFileNamesAndPlaces) {
    struct Case {
        const char* common;
        std::string detail;
        std::string folder, stem;
    } cases[] = {
        {"C:\\ProgramData", "Spooler", "C:\\ProgramData\\Trimvex 还原文件",
         "2026-12-08 09.05.02 删除服务 Spooler"},
        {"D:\\", "", "D:\\Trimvex 还原文件", "2026-12-08 09.05.02 删除服务"},
        {"", "x", "", "2026-12-08 09.05.02 删除服务 x"},
        // characters a file name cannot hold; trailing dots and blanks
        {"C:\\D", "a\\b/c:*?\"<>|\td. .", "C:\\D\\Trimvex 还原文件", "2026-12-08 09.05.02 删除服务 a_b_c________d"},
        // 衆 ends in 0x5C, which is no separator; long names are cut whole
        {"C:\\D", "\xD0\x5C" + std::string(60, 'x'), "C:\\D\\Trimvex 还原文件",
         "2026-12-08 09.05.02 删除服务 \xD0\x5C" + std::string(46, 'x')},
        {"C:\\D", std::string(47, 'x') + "中文", "C:\\D\\Trimvex 还原文件",
         "2026-12-08 09.05.02 删除服务 " + std::string(47, 'x')},
    };
    for (const Case& c : cases) {
        testing::FakePlatform fakes;
        fakes.environment.commonAppDataFolder = c.common;
        EXPECT_EQ(RestoreFolderPath(fakes.Get()), c.folder) << c.common;
        EXPECT_EQ(RestoreFileStem({{2026, 12, 8}, {9, 5, 2}}, kRestoreServiceSubject, c.detail), c.stem);
    }
    // A name taken gets a number, before the extension if there is one.
    testing::FakePlatform fakes;
    const std::string folder = RestoreFolderPath(fakes.Get());
    fakes.files.AddFile(folder + "\\App.lnk");
    fakes.files.AddFile(folder + "\\App (2).lnk");
    fakes.files.AddFile(folder + "\\run");
    EXPECT_EQ(RestoreFolderSlot(fakes.Get(), "App.lnk"), folder + "\\App (3).lnk");
    EXPECT_EQ(RestoreFolderSlot(fakes.Get(), "run"), folder + "\\run (2)");
    EXPECT_EQ(RestoreFolderSlot(fakes.Get(), "new.exe"), folder + "\\new.exe");
}

}  // namespace
}  // namespace tv
