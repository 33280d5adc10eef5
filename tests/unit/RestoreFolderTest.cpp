// Where the restore files go: the machine's own folder in the common
// application data folder, never the user's Documents nor anything the
// user's settings name; a folder of that name that a program of the user's
// made or may write is passed over for a fresh one beside it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "links/HelpActions.h"
#include "manage/ServiceDeletion.h"
#include "manage/StartupRemoval.h"
#include "platform/Registry.h"
#include "restore/RegBackup.h"
#include "restore/RestoreFiles.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

const std::string kCommon = "C:\\ProgramData";
const std::string kFolder = "C:\\ProgramData\\Trimvex 还原文件";
const std::string kSecond = "C:\\ProgramData\\Trimvex 还原文件 (2)";
const std::string kThird = "C:\\ProgramData\\Trimvex 还原文件 (3)";

bool SameSecurity(const FakeSecurity& a, const FakeSecurity& b) {
    if (a.owner != b.owner || a.allowed.size() != b.allowed.size()) return false;
    for (std::size_t i = 0; i < a.allowed.size(); ++i)
        if (a.allowed[i].sid != b.allowed[i].sid || a.allowed[i].mask != b.allowed[i].mask) return false;
    return true;
}

// A folder a program of the user's made beforehand, with a file of its own.
void Planted(testing::FakePlatform& f, const std::string& folder, const FakeSecurity& security) {
    f.files.AddFile(folder + "\\planted.reg");
    f.files.SetSecurity(folder, security);
}

FakeSecurity OwnedByUser() {
    FakeSecurity security = ProtectedFakeSecurity();
    security.owner = fakesid::kUser;
    return security;
}

FakeSecurity Granting(const char* sid, std::uint32_t mask) {
    FakeSecurity security = ProtectedFakeSecurity();
    security.allowed.push_back({sid, mask});
    return security;
}

TEST(RestoreFolderPlace, IsTheMachinesFolderAndNeverOneNotItsOwn) {
    struct Case {
        const char* label;
        std::function<void(testing::FakePlatform&)> before;
        std::string folder;  // where the files go; empty: nowhere
        std::vector<std::string> untouched;  // planted folders left as they were
    } cases[] = {
        {"nothing there yet", {}, kFolder},
        {"its own folder from before",
         [](testing::FakePlatform& f) { f.files.AddFile(kFolder + "\\old.reg"); }, kFolder},
        {"made by a program of the user's", [](testing::FakePlatform& f) { Planted(f, kFolder, OwnedByUser()); },
         kSecond, {kFolder}},
        {"users may add files", [](testing::FakePlatform& f) {
             Planted(f, kFolder, Granting(fakesid::kUsers, fakeright::kAddFile));
         }, kSecond, {kFolder}},
        {"everyone may write", [](testing::FakePlatform& f) {
             Planted(f, kFolder, Granting(fakesid::kEveryone, fakeright::kGenericWrite));
         }, kSecond, {kFolder}},
        {"the user may change its entries", [](testing::FakePlatform& f) {
             Planted(f, kFolder, Granting(fakesid::kUser, 0x00040000));  // WRITE_DAC
         }, kSecond, {kFolder}},
        {"the user may take it over", [](testing::FakePlatform& f) {
             Planted(f, kFolder, Granting(fakesid::kUser, 0x00080000));  // WRITE_OWNER
         }, kSecond, {kFolder}},
        {"the user may delete it", [](testing::FakePlatform& f) {
             Planted(f, kFolder, Granting(fakesid::kUser, 0x00010000));  // DELETE
         }, kSecond, {kFolder}},
        {"everyone may read it", [](testing::FakePlatform& f) {
             Planted(f, kFolder, Granting(fakesid::kEveryone, fakeright::kGenericRead | fakeright::kReadAndExecute));
         }, kFolder},
        {"owned by SYSTEM", [](testing::FakePlatform& f) {
             FakeSecurity security = ProtectedFakeSecurity();
             security.owner = fakesid::kSystem;
             Planted(f, kFolder, security);
         }, kFolder},
        // Whoever owns the place could replace the folder anyway.
        {"owned by the owner of the common folder", [](testing::FakePlatform& f) {
             FakeSecurity common = f.files.Security(kCommon);
             common.owner = fakesid::kUser;
             f.files.SetSecurity(kCommon, common);
             Planted(f, kFolder, OwnedByUser());
         }, kFolder},
        {"a link at its name", [](testing::FakePlatform& f) {
             f.files.AddFolder("C:\\Elsewhere");
             f.files.AddLink(kFolder, "C:\\Elsewhere");
         }, kSecond},
        {"a file at its name", [](testing::FakePlatform& f) { f.files.AddFile(kFolder); }, kSecond},
        {"the second name taken too", [](testing::FakePlatform& f) {
             Planted(f, kFolder, OwnedByUser());
             Planted(f, kSecond, Granting(fakesid::kUsers, fakeright::kAll));
         }, kThird, {kFolder, kSecond}},
        {"every name taken", [](testing::FakePlatform& f) {
             Planted(f, kFolder, OwnedByUser());
             for (int n = 2; n <= 100; ++n)
                 Planted(f, kFolder + " (" + std::to_string(n) + ")", OwnedByUser());
         }, ""},
        {"no common folder", [](testing::FakePlatform& f) { f.environment.commonAppDataFolder.clear(); }, ""},
        {"the common folder is missing",
         [](testing::FakePlatform& f) { f.environment.commonAppDataFolder = "C:\\Missing"; }, ""},
        {"the common folder is a link", [](testing::FakePlatform& f) {
             f.files.AddFolder("C:\\Elsewhere");
             f.files.AddLink(kCommon, "C:\\Elsewhere");
         }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        testing::FakePlatform fakes;
        if (c.before) c.before(fakes);
        std::vector<FakeSecurity> planted;
        for (const std::string& folder : c.untouched) planted.push_back(fakes.files.Security(folder));
        const bool existed = !c.folder.empty() && fakes.files.Exists(c.folder);
        const FakeSecurity was = existed ? fakes.files.Security(c.folder) : ProtectedFakeSecurity();
        EXPECT_EQ(RestoreFolder(fakes.Get()), c.folder);
        if (!c.folder.empty()) {
            // Made now with the protected descriptor, or found as it was.
            EXPECT_TRUE(fakes.files.IsFolder(c.folder));
            EXPECT_TRUE(SameSecurity(fakes.files.Security(c.folder), was));
        }
        for (std::size_t i = 0; i < c.untouched.size(); ++i) {
            EXPECT_TRUE(SameSecurity(fakes.files.Security(c.untouched[i]), planted[i])) << c.untouched[i];
            std::vector<FolderEntry> inside;
            ASSERT_TRUE(fakes.files.ListFolder(c.untouched[i], &inside));
            ASSERT_EQ(inside.size(), 1u) << c.untouched[i];
            EXPECT_EQ(inside[0].name.Shown(), "planted.reg");
        }
        EXPECT_TRUE(fakes.prompter.Prompts().empty());
        EXPECT_FALSE(fakes.files.Exists("C:\\Elsewhere\\Trimvex 还原文件"));
    }
}

// What a removal or a tweak writes lands in the machine's folder, made with
// the protected descriptor, whatever the user's settings name: nothing goes
// to the user's Documents.
// A taken name is numbered before its extension; a name without one, or
// only an extension, at its end; no name gets no slot.
TEST(RestoreFolderPlace, ATakenSlotIsNumberedBeforeTheExtension) {
    struct Case {
        std::u16string name;
        std::u16string second;  // empty: no slot
    } cases[] = {
        {u"a.reg", u"a (2).reg"},
        {u"a.b.xml", u"a.b (2).xml"},
        {u"plain", u"plain (2)"},
        {u".reg", u".reg (2)"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        testing::FakePlatform fakes;
        const std::u16string first = RestoreFolderSlot(fakes.Get(), c.name);
        if (c.second.empty()) {
            EXPECT_EQ(first, u"");
            continue;
        }
        const std::u16string folder = fakes.codec.AnsiToWide(kFolder) + u"\\";
        EXPECT_EQ(first, folder + c.name);
        fakes.files.AddFile(first);
        EXPECT_EQ(RestoreFolderSlot(fakes.Get(), c.name), folder + c.second);
    }
}

TEST(RestoreFolderPlace, FilesLandThereAndNotWhereTheUsersSettingsPoint) {
    testing::FakePlatform fakes;
    const std::string documents = "C:\\Users\\test\\Documents";
    fakes.files.AddFolder(documents);
    fakes.files.AddFolder("C:\\Planted");
    // What a program of the user's can set: the user's shell folders.
    for (const char* key : {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"}) {
        RegKey folders = RegKey::Create(fakes.registry, kHkeyCurrentUser, key);
        folders.SetString("Personal", "C:\\Planted");
        folders.SetString("Common AppData", "C:\\Planted");
    }
    fakes.environment.variables["ALLUSERSPROFILE"] = "C:\\Planted";
    fakes.environment.variables["ProgramData"] = "C:\\Planted";
    RegKey::Create(fakes.registry, kHkeyCurrentUser, "Software\\Tv").SetString("Kept", "old");
    RegBackup backup(*fakes.Get().registry, *fakes.Get().codec);
    ASSERT_TRUE(backup.AddValue(kHkeyCurrentUser, "Software\\Tv", "Kept"));
    std::string path;
    ASSERT_TRUE(SaveRestoreFile(fakes.Get(), backup, kRestoreStartupSubject, "Kept", &path));
    EXPECT_EQ(path, kFolder + "\\2009-10-25 12.00.00 删除启动项 Kept.reg");
    EXPECT_FALSE(fakes.files.Contents(path).empty());
    EXPECT_TRUE(SameSecurity(fakes.files.Security(kFolder), ProtectedFakeSecurity()));
    // The file inherits the folder's entries: users only read it.
    EXPECT_TRUE(SameSecurity(fakes.files.Security(path), ProtectedFakeSecurity()));
    for (const std::string& folder : {documents, std::string("C:\\Planted")}) {
        std::vector<FolderEntry> inside;
        ASSERT_TRUE(fakes.files.ListFolder(folder, &inside));
        EXPECT_TRUE(inside.empty()) << folder;
    }
    EXPECT_TRUE(fakes.prompter.Prompts().empty());
}

// A folder of the name that is not the program's is never written into:
// the file goes beside it, silently.
TEST(RestoreFolderPlace, AForeignFolderGetsNoFileAndNoWord) {
    testing::FakePlatform fakes;
    Planted(fakes, kFolder, OwnedByUser());
    RegKey::Create(fakes.registry, kHkeyCurrentUser, "Software\\Tv").SetString("Kept", "old");
    RegBackup backup(*fakes.Get().registry, *fakes.Get().codec);
    ASSERT_TRUE(backup.AddValue(kHkeyCurrentUser, "Software\\Tv", "Kept"));
    std::string path;
    ASSERT_TRUE(SaveRestoreFile(fakes.Get(), backup, kRestoreServiceSubject, "", &path));
    EXPECT_EQ(path, kSecond + "\\2009-10-25 12.00.00 删除服务.reg");
    std::vector<FolderEntry> inside;
    ASSERT_TRUE(fakes.files.ListFolder(kFolder, &inside));
    ASSERT_EQ(inside.size(), 1u);
    EXPECT_EQ(inside[0].name.Shown(), "planted.reg");
    EXPECT_TRUE(SameSecurity(fakes.files.Security(kSecond), ProtectedFakeSecurity()));
    EXPECT_TRUE(fakes.prompter.Prompts().empty());
}

// The help page's button: the folder is made first when there is none, and
// handed to the user's desktop shell, never opened from this process.
TEST(RestoreFolderPlace, TheHelpPageOpensItInTheUsersShell) {
    struct Case {
        const char* label;
        std::function<void(testing::FakePlatform&)> before;
        std::string opened;   // empty: nothing opened
        std::string message;  // empty: none
    } cases[] = {
        {"made now", {}, kFolder, ""},
        {"there already", [](testing::FakePlatform& f) { f.files.AddFolder(kFolder); }, kFolder, ""},
        {"the name is another's", [](testing::FakePlatform& f) { Planted(f, kFolder, OwnedByUser()); },
         kSecond, ""},
        {"no place for it",
         [](testing::FakePlatform& f) { f.environment.commonAppDataFolder = "C:\\Missing"; }, "",
         "无法建立还原文件夹：C:\\Missing\\Trimvex 还原文件"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        testing::FakePlatform fakes;
        fakes.userShell.available = true;
        if (c.before) c.before(fakes);
        OpenRestoreFolder(fakes.Get());
        EXPECT_TRUE(fakes.shell.Requests().empty());
        EXPECT_TRUE(fakes.shell.Launches().empty());
        const std::vector<ShellLaunch>& launches = fakes.userShell.Launches();
        if (c.opened.empty()) {
            EXPECT_TRUE(launches.empty());
        } else {
            ASSERT_EQ(launches.size(), 1u);
            EXPECT_EQ(launches[0].file, c.opened);
            EXPECT_EQ(launches[0].verb, "");
            EXPECT_EQ(launches[0].showCommand, kSwShowNormal);
            EXPECT_TRUE(fakes.files.IsFolder(c.opened));
            EXPECT_TRUE(SameSecurity(fakes.files.Security(c.opened), ProtectedFakeSecurity()));
        }
        if (c.message.empty()) {
            EXPECT_TRUE(fakes.prompter.Prompts().empty());
        } else {
            ASSERT_EQ(fakes.prompter.Prompts().size(), 1u);
            EXPECT_EQ(fakes.prompter.Prompts()[0].text, c.message);
            EXPECT_EQ(fakes.prompter.Prompts()[0].caption, "Trimvex");
        }
    }
}

}  // namespace
}  // namespace tv
