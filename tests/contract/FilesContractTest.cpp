// The file, drive and environment seams behave alike over the fakes and the
// real system.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/contract/FilesUnderTest.h"

namespace {

std::vector<std::string> Names(const std::vector<tv::FolderEntry>& entries) {
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.name.Shown() + (e.folder ? "\\" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::u16string> ExactNames(const std::vector<tv::FolderEntry>& entries) {
    std::vector<std::u16string> names;
    for (const auto& e : entries) names.push_back(e.name.Stored() + (e.folder ? u"\\" : u""));
    std::sort(names.begin(), names.end());
    return names;
}

class FilesContract : public ::testing::Test {
protected:
    void SetUp() override { t = MakeFilesUnderTest(); }
    std::string In(const std::string& name) const { return t->scratch + "\\" + name; }
    // The scratch folder's path is ASCII.
    std::u16string In(const std::u16string& name) const {
        return std::u16string(t->scratch.begin(), t->scratch.end()) + u"\\" + name;
    }
    std::unique_ptr<FilesUnderTest> t;
};

TEST_F(FilesContract, ListsFilesAndFoldersWithoutDotEntries) {
    t->MakeFile(In("a.txt"));
    t->MakeFolder(In("sub"));
    t->MakeFile(In("sub\\inner.lnk"));
    t->MakeFile(In("\xD6\xD0\xCE\xC4.txt"));  // 中文.txt
    std::vector<tv::FolderEntry> entries;
    ASSERT_TRUE(t->files->ListFolder(t->scratch, &entries));
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"a.txt", "sub\\", "\xD6\xD0\xCE\xC4.txt"}));
    ASSERT_TRUE(t->files->ListFolder(t->scratch + "\\", &entries));
    EXPECT_EQ(entries.size(), 3u);
    EXPECT_FALSE(t->files->ListFolder(In("missing"), &entries));
    EXPECT_TRUE(entries.empty());
}

// A listing asked for a few entries stops there and says whether there are
// more: a folder of any size costs no more than asked.
TEST_F(FilesContract, ListsNoMoreEntriesThanAsked) {
    t->MakeFile(In("a.txt"));
    t->MakeFile(In("b.txt"));
    t->MakeFolder(In("sub"));
    t->MakeFolder(In("empty"));
    const std::u16string folder = In(u"");
    struct Case {
        std::size_t limit;
        std::size_t listed;
        bool more;
    } cases[] = {{0, 0, true}, {1, 1, true}, {3, 3, true}, {4, 4, false}, {100, 4, false}};
    std::vector<tv::FolderEntry> all;
    ASSERT_TRUE(t->files->ListFolderW(folder, &all));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        std::vector<tv::FolderEntry> entries(7);
        bool more = !c.more;
        ASSERT_TRUE(t->files->ListFolderUpToW(folder, c.limit, &entries, &more));
        EXPECT_EQ(entries.size(), c.listed);
        EXPECT_EQ(more, c.more);
        for (const tv::FolderEntry& entry : entries) {
            const bool listed = std::any_of(all.begin(), all.end(), [&](const tv::FolderEntry& e) {
                return e.name.Stored() == entry.name.Stored() && e.folder == entry.folder;
            });
            EXPECT_TRUE(listed) << entry.name.Shown();
        }
    }
    std::vector<tv::FolderEntry> entries;
    bool more = true;
    ASSERT_TRUE(t->files->ListFolderUpToW(In(u"empty"), 0, &entries, &more));
    EXPECT_FALSE(more);
    EXPECT_FALSE(t->files->ListFolderUpToW(In(u"missing"), 5, &entries, &more));
}

// Hangul is outside code page 936: the 8-bit calls see '?' for each
// character, which names no file; the exact forms reach the entry itself.
TEST_F(FilesContract, ExactFormsReachNamesTheCodePageCannotSpell) {
    const std::u16string kakao = u"\uCE74\uCE74\uC624.exe";  // 카카오.exe
    const std::u16string kaka = u"\uCE74\uCE74.exe";         // 카카.exe
    const std::u16string folder = In(u"\uD55C");              // 한
    t->MakeFile(In(kakao));
    t->MakeFile(In(kaka));
    t->MakeFolder(folder);
    t->MakeFile(folder + u"\\inner.exe");
    std::vector<tv::FolderEntry> entries;
    ASSERT_TRUE(t->files->ListFolder(t->scratch, &entries));
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"??.exe", "???.exe", "?\\"}));
    EXPECT_EQ(ExactNames(entries), (std::vector<std::u16string>{kaka, kakao, u"\uD55C\\"}));
    ASSERT_TRUE(t->files->ListFolderW(folder + u"\\", &entries));
    EXPECT_EQ(ExactNames(entries), std::vector<std::u16string>{u"inner.exe"});
    EXPECT_EQ(Names(entries), std::vector<std::string>{"inner.exe"});
    tv::FileIdentity inner, scratch;
    ASSERT_TRUE(t->files->FolderIdentityW(folder, &inner));
    ASSERT_TRUE(t->files->FolderIdentityW(In(u""), &scratch));
    EXPECT_FALSE(inner == scratch);
    EXPECT_FALSE(t->files->FolderIdentityW(In(kakao), &inner));
    EXPECT_FALSE(t->files->Exists(In("???.exe")));
    EXPECT_TRUE(t->files->ExistsW(In(kakao)));
    EXPECT_FALSE(t->files->ExistsW(In(u"\uCE74.exe")));

    EXPECT_FALSE(t->files->MoveFileOutW(In(kakao), folder, folder + u"\\" + kakao));
    ASSERT_TRUE(t->files->MoveFileOutW(In(kakao), In(u""), folder + u"\\" + kakao));
    EXPECT_FALSE(t->files->ExistsW(In(kakao)));
    EXPECT_TRUE(t->files->ExistsW(In(kaka)));
    ASSERT_TRUE(t->files->ListFolderW(folder, &entries));
    EXPECT_EQ(ExactNames(entries), (std::vector<std::u16string>{u"inner.exe", kakao}));
}

TEST_F(FilesContract, FolderIdentityNamesTheFolderWhateverTheSpelling) {
    t->MakeFolder(In("Sub"));
    t->MakeFolder(In("Sub\\Inner"));
    t->MakeFolder(In("Other"));
    t->MakeFile(In("a.txt"));
    tv::FileIdentity sub, again, inner, other, scratch, file;
    ASSERT_TRUE(t->files->FolderIdentity(In("Sub"), &sub));
    ASSERT_TRUE(t->files->FolderIdentity(In("sub\\"), &again));
    ASSERT_TRUE(t->files->FolderIdentity(In("SUB\\Inner"), &inner));
    ASSERT_TRUE(t->files->FolderIdentity(In("Other"), &other));
    ASSERT_TRUE(t->files->FolderIdentity(t->scratch, &scratch));
    EXPECT_EQ(sub, again);
    EXPECT_FALSE(sub == inner);
    EXPECT_FALSE(sub == other);
    EXPECT_FALSE(sub == scratch);
    EXPECT_EQ(sub.volumeSerial, other.volumeSerial);
    EXPECT_FALSE(t->files->FolderIdentity(In("a.txt"), &file));
    EXPECT_FALSE(t->files->FolderIdentity(In("missing"), &file));
}

// What tells one version of a file from the next: its size and write time,
// the same by any spelling or link that reaches it; a folder has none.
TEST_F(FilesContract, AFileIsStampedWithItsSizeAndWriteTime) {
    t->MakeFolder(In("Data"));
    ASSERT_TRUE(t->files->WriteNewFile(In("Data\\five.bin"), "12345"));
    t->MakeFile(In("Data\\empty.txt"));
    t->MakeFile(In(u"\uAC00.bin"));
    tv::FileStamp five, again, empty, exact, linked;
    ASSERT_TRUE(t->files->FileStampW(In(u"Data\\five.bin"), &five));
    EXPECT_EQ(five.size, 5u);
    EXPECT_NE(five.lastWrite, 0u);
    ASSERT_TRUE(t->files->FileStampW(In(u"DATA\\FIVE.BIN"), &again));
    EXPECT_EQ(again, five);
    ASSERT_TRUE(t->files->FileStampW(In(u"Data\\empty.txt"), &empty));
    EXPECT_EQ(empty.size, 0u);
    ASSERT_TRUE(t->files->FileStampW(In(u"\uAC00.bin"), &exact));
    EXPECT_EQ(exact.size, 0u);
    if (t->MakeLink(In("Via"), In("Data"))) {
        ASSERT_TRUE(t->files->FileStampW(In(u"Via\\five.bin"), &linked));
        EXPECT_EQ(linked, five);
    }
    tv::FileStamp none;
    EXPECT_FALSE(t->files->FileStampW(In(u"Data"), &none));
    EXPECT_FALSE(t->files->FileStampW(In(u"Data\\missing.bin"), &none));
    EXPECT_FALSE(t->files->FileStampW(u"", &none));
}

TEST_F(FilesContract, ExistenceIsCaseInsensitive) {
    t->MakeFile(In("Mixed.TXT"));
    EXPECT_TRUE(t->files->Exists(In("mixed.txt")));
    EXPECT_TRUE(t->files->Exists(t->scratch));
    EXPECT_TRUE(t->files->IsFolder(t->scratch));
    EXPECT_FALSE(t->files->IsFolder(In("Mixed.TXT")));
    EXPECT_FALSE(t->files->Exists(In("other.txt")));
    EXPECT_FALSE(t->files->Exists(""));
}

TEST_F(FilesContract, DeletesOnlyWhatCanGo) {
    t->MakeFile(In("plain.txt"));
    t->MakeFile(In("locked.txt"), true);
    t->MakeFolder(In("full"));
    t->MakeFile(In("full\\x.txt"));
    EXPECT_TRUE(t->files->RemoveFile(In("plain.txt")));
    EXPECT_FALSE(t->files->Exists(In("plain.txt")));
    EXPECT_FALSE(t->files->RemoveFile(In("plain.txt")));
    EXPECT_FALSE(t->files->RemoveFile(In("locked.txt")));
    EXPECT_TRUE(t->files->Exists(In("locked.txt")));
    EXPECT_FALSE(t->files->RemoveFolder(In("full")));
    EXPECT_FALSE(t->files->RemoveFolder(In("full\\x.txt")));
    EXPECT_FALSE(t->files->RemoveFolder(In("missing")));
    EXPECT_TRUE(t->files->Exists(In("full\\x.txt")));
    EXPECT_TRUE(t->files->RemoveFile(In("full\\x.txt")));
    EXPECT_TRUE(t->files->RemoveFolder(In("full")));
    EXPECT_FALSE(t->files->Exists(In("full")));
    t->Release(In("locked.txt"));
}

TEST_F(FilesContract, MakesFoldersWritesNewFilesAndMovesFiles) {
    const std::string folder = In("\xBB\xB9\xD4\xAD");  // 还原
    EXPECT_FALSE(t->files->CreateFolder(In("missing\\inner")));
    ASSERT_TRUE(t->files->CreateFolder(folder));
    EXPECT_TRUE(t->files->IsFolder(folder));
    EXPECT_TRUE(t->files->CreateFolder(folder));  // already there
    const std::string bytes("\xFF\xFE" "a\0\r\0", 6);
    ASSERT_TRUE(t->files->WriteNewFile(folder + "\\one.reg", bytes));
    EXPECT_FALSE(t->files->WriteNewFile(folder + "\\ONE.reg", "other"));  // never replaced
    EXPECT_FALSE(t->files->WriteNewFile(In("missing\\two.reg"), bytes));
    t->files->WriteNewFile(folder + "\\gone.reg", bytes)->Discard();
    EXPECT_FALSE(t->files->Exists(folder + "\\gone.reg"));
    EXPECT_FALSE(t->files->CreateFolder(folder + "\\one.reg"));
    EXPECT_EQ(t->ReadFile(folder + "\\one.reg"), bytes);

    t->MakeFile(In("item.lnk"), true);
    t->MakeFile(In("taken.lnk"));
    EXPECT_FALSE(t->files->MoveFileOut(In("item.lnk"), t->scratch, In("taken.lnk")));
    EXPECT_FALSE(t->files->MoveFileOut(In("absent.lnk"), t->scratch, folder + "\\absent.lnk"));
    EXPECT_FALSE(t->files->MoveFileOut(In("item.lnk"), folder, folder + "\\item.lnk"));
    ASSERT_TRUE(t->files->MoveFileOut(In("item.lnk"), t->scratch, folder + "\\item.lnk"));
    EXPECT_FALSE(t->files->Exists(In("item.lnk")));
    std::vector<tv::FolderEntry> entries;
    ASSERT_TRUE(t->files->ListFolder(folder, &entries));
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"item.lnk", "one.reg"}));
    for (const tv::FolderEntry& entry : entries)  // the file moves with its attributes
        EXPECT_EQ(entry.readOnly, entry.name.Shown() == "item.lnk") << entry.name.Shown();
    t->Release(folder + "\\item.lnk");
}

// A program of the user's may put a link where this program writes or
// moves files: nothing lands where the link leads, and nothing is moved out
// of it.
TEST_F(FilesContract, NothingIsWrittenOrMovedThroughALink) {
    const std::string elsewhere = In("elsewhere");
    t->MakeFolder(elsewhere);
    t->MakeFile(elsewhere + "\\planted.lnk");
    t->MakeFolder(In("start"));
    t->MakeFile(In("start\\own.lnk"));
    if (!t->MakeLink(In("restore"), elsewhere) || !t->MakeLink(In("start\\sub"), elsewhere))
        GTEST_SKIP() << "links cannot be made here";
    EXPECT_FALSE(t->files->CreateFolder(In("restore")));
    EXPECT_FALSE(t->files->CreateFolder(In("restore\\inner")));
    EXPECT_FALSE(t->files->WriteNewFile(In("restore\\one.reg"), "x"));
    // A link at the name of a protected folder is passed over; one above
    // it leaves no place to make it.
    EXPECT_EQ(t->files->CreateProtectedFolder(In("restore")), tv::ProtectedFolder::kNotOurs);
    EXPECT_EQ(t->files->CreateProtectedFolder(In("restore\\inner")), tv::ProtectedFolder::kFailed);
    EXPECT_FALSE(t->files->MoveFileOut(In("start\\own.lnk"), In("start"), In("restore\\own.lnk")));
    EXPECT_FALSE(
        t->files->MoveFileOut(In("start\\sub\\planted.lnk"), In("start"), In("own-planted.lnk")));
    std::vector<tv::FolderEntry> entries;
    ASSERT_TRUE(t->files->ListFolder(elsewhere, &entries));
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"planted.lnk"}));
    EXPECT_TRUE(t->files->Exists(In("start\\own.lnk")));
    EXPECT_FALSE(t->files->Exists(In("own-planted.lnk")));
}

const std::vector<std::string> kSystemAndAdministrators = {"S-1-5-18", "S-1-5-32-544"};

// The folder the restore files live in: made with a descriptor of its own
// that lets only SYSTEM and Administrators write, found again as the
// program's own, and passed on to what is written in it.
TEST_F(FilesContract, AProtectedFolderIsMadeForAdministratorsAndFoundAgain) {
    const std::string folder = In("\xBB\xB9\xD4\xAD");  // 还原
    EXPECT_EQ(t->files->CreateProtectedFolder(In("missing\\inner")), tv::ProtectedFolder::kFailed);
    EXPECT_FALSE(t->files->Exists(In("missing")));
    ASSERT_EQ(t->files->CreateProtectedFolder(folder), tv::ProtectedFolder::kUsable);
    EXPECT_TRUE(t->files->IsFolder(folder));
    EXPECT_EQ(t->files->CreateProtectedFolder(folder + "\\"), tv::ProtectedFolder::kUsable);
    EXPECT_TRUE(t->files->CreateFolder(folder));
    ASSERT_TRUE(t->files->WriteNewFile(folder + "\\one.reg", "x"));
    EXPECT_EQ(t->ReadFile(folder + "\\one.reg"), "x");
    // A file by the name is no folder of the program's, and stays.
    t->MakeFile(In("taken"));
    EXPECT_EQ(t->files->CreateProtectedFolder(In("taken")), tv::ProtectedFolder::kNotOurs);
    EXPECT_TRUE(t->files->Exists(In("taken")));
    EXPECT_FALSE(t->files->IsFolder(In("taken")));
    // Wine keeps no owners or entries: every file there reads back as the
    // user's, with entries made from its Unix mode bits.
    if (t->KeepsDescriptors()) {
        EXPECT_EQ(t->Owner(folder), "S-1-5-32-544");
        EXPECT_EQ(t->Writers(folder), kSystemAndAdministrators);
        EXPECT_EQ(t->Writers(folder + "\\one.reg"), kSystemAndAdministrators);
    }
}

// A folder of the name that a program of the user's made is left alone,
// with whatever it holds: one everyone may write to, or one the user owns.
TEST_F(FilesContract, AFolderOthersMayWriteIsLeftAlone) {
    const std::string open = In("open");
    t->MakeFolder(open);
    t->MakeFile(open + "\\planted.reg");
    t->LetEveryoneWrite(open);
    ASSERT_NE(t->Writers(open), kSystemAndAdministrators);
    EXPECT_EQ(t->files->CreateProtectedFolder(open), tv::ProtectedFolder::kNotOurs);
    std::vector<tv::FolderEntry> entries;
    ASSERT_TRUE(t->files->ListFolder(open, &entries));
    EXPECT_EQ(Names(entries), std::vector<std::string>{"planted.reg"});
    const std::vector<std::string> writers = t->Writers(open);  // as planted
    EXPECT_NE(std::find(writers.begin(), writers.end(), "S-1-1-0"), writers.end());
}

TEST_F(FilesContract, AFolderTheUserOwnsIsLeftAlone) {
    const std::string theirs = In("theirs");
    t->MakeFolder(theirs);
    if (!t->KeepsDescriptors() || !t->GiveToUser(theirs))
        GTEST_SKIP() << "this file system keeps no owners (Wine: every file is the user's)";
    EXPECT_EQ(t->files->CreateProtectedFolder(theirs), tv::ProtectedFolder::kNotOurs);
    EXPECT_TRUE(t->files->IsFolder(theirs));
}

TEST_F(FilesContract, WorkingFolderRoundTrips) {
    std::string before = t->files->WorkingFolder();
    ASSERT_FALSE(before.empty());
    ASSERT_TRUE(t->files->SetWorkingFolder(t->scratch));
    std::string now = t->files->WorkingFolder();
    EXPECT_TRUE(t->files->IsFolder(now));
    EXPECT_FALSE(t->files->SetWorkingFolder(In("missing")));
    ASSERT_TRUE(t->files->SetWorkingFolder(before));
    EXPECT_EQ(t->files->WorkingFolder(), before);
}

TEST_F(FilesContract, DriveCIsFixedNtfsWithSizes) {
    EXPECT_EQ(t->drives->DriveType("C:\\"), tv::kDriveFixed);
    tv::DriveSpace space;
    ASSERT_TRUE(t->drives->Space("C:\\", &space));
    EXPECT_GT(space.total, 0u);
    EXPECT_LE(space.totalFree, space.total);
    std::string fs;
    ASSERT_TRUE(t->drives->FileSystemName("C:\\", &fs));
    EXPECT_EQ(fs, "NTFS");
    EXPECT_EQ(t->drives->DriveType("Q:\\"), tv::kDriveNoRootDir);
    EXPECT_FALSE(t->drives->Space("Q:\\", &space));
    EXPECT_FALSE(t->drives->FileSystemName("Q:\\", &fs));
}

TEST_F(FilesContract, DirectoriesHaveNoTrailingBackslash) {
    std::string windows = t->environment->WindowsDirectory();
    std::string system = t->environment->SystemDirectory();
    ASSERT_GE(windows.size(), 3u);
    EXPECT_NE(windows.back(), '\\');
    EXPECT_EQ(system.substr(0, windows.size() + 1), windows + "\\");
    std::string value;
    EXPECT_FALSE(t->environment->Variable("TV_SURELY_NOT_SET_42", &value));
    const std::string common = t->environment->CommonAppDataFolder();
    ASSERT_GE(common.size(), 4u);
    EXPECT_NE(common.back(), '\\');
    EXPECT_EQ(common.substr(1, 2), ":\\");
    EXPECT_TRUE(t->files->IsFolder(common)) << common;
    const std::vector<std::string> programFiles = t->environment->ProgramFilesFolders();
    ASSERT_FALSE(programFiles.empty());
    for (const std::string& folder : programFiles) {
        ASSERT_GE(folder.size(), 4u) << folder;
        EXPECT_NE(folder.back(), '\\') << folder;
        EXPECT_EQ(folder.substr(1, 2), ":\\") << folder;
    }
}

TEST_F(FilesContract, ProgramFilesFolderIsTheSystemsNotTheVariable) {
    std::string before;
    const bool wasSet = t->environment->Variable("ProgramFiles", &before);
    t->PlantVariable("ProgramFiles", "C:\\Planted");
    std::string planted;
    EXPECT_TRUE(t->environment->Variable("ProgramFiles", &planted));
    EXPECT_EQ(planted, "C:\\Planted");
    const std::string folder = t->environment->ProgramFilesFolder();
    if (wasSet) t->PlantVariable("ProgramFiles", before);
    // A 32-bit process under a 64-bit system is given "Program Files (x86)".
    EXPECT_TRUE(folder == "C:\\Program Files" || folder == "C:\\Program Files (x86)") << folder;
}

}  // namespace
