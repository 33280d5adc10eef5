#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manage/ListExport.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

// UTF-16LE spelled out byte by byte, so the expectations do not lean on the
// conversion under test.
std::string Le(const std::string& ascii) {
    std::string bytes;
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

const std::string kBom = "\xFF\xFE";
const std::string kTab = Le("\t");
const std::string kCrLf = Le("\r\n");

struct CellCase {
    const char* what;
    std::u16string text;
    std::u16string written;
};

TEST(ListExport, CellsThatWouldBreakTheTableAreQuotedOthersStayAsTheyAre) {
    const CellCase cases[] = {
        {"plain", u"Tool", u"Tool"},
        {"empty", u"", u""},
        {"double-byte", u"启动项", u"启动项"},
        {"outside the code page", u"한글\U0001F600", u"한글\U0001F600"},
        {"a path with blanks", u"C:\\Program Files\\a b.exe", u"C:\\Program Files\\a b.exe"},
        {"a quote inside", u"say \"hi\"", u"say \"hi\""},
        {"a tab", u"a\tb", u"\"a\tb\""},
        {"a line feed", u"a\nb", u"\"a\nb\""},
        {"a carriage return", u"a\rb", u"\"a\rb\""},
        {"a tab and quotes", u"x\t\"y\"", u"\"x\t\"\"y\"\"\""},
        {"a leading quote", u"\"C:\\a b.exe\" /s", u"\"\"\"C:\\a b.exe\"\" /s\""},
        {"a lone quote", u"\"", u"\"\"\"\""},
    };
    for (const CellCase& c : cases) EXPECT_EQ(TableCell(c.text), c.written) << c.what;
}

TEST(ListExport, CopiedRowsAreTabSeparatedLinesWithNoLineEndAfterTheLast) {
    EXPECT_EQ(CopiedRowsText({}), u"");
    EXPECT_EQ(CopiedRowsText({{u"a", u"", u"c"}}), u"a\t\tc");
    EXPECT_EQ(CopiedRowsText({{u"名", u"C:\\x.exe"}, {u"b\tc", u"d"}}), u"名\tC:\\x.exe\r\n\"b\tc\"\td");
}

struct FileCase {
    const char* what;
    TextRow headings;
    std::vector<TextRow> rows;
    std::string bytes;
};

TEST(ListExport, TheFileIsUtf16WithAMarkAHeadingLineTabsAndCrLfLines) {
    const FileCase cases[] = {
        {"headings only", {u"A", u""}, {}, kBom + Le("A") + kTab + kCrLf},
        {"one row", {u"A", u"B"}, {{u"1", u"2"}},
         kBom + Le("A") + kTab + Le("B") + kCrLf + Le("1") + kTab + Le("2") + kCrLf},
        // 启 U+542F, 动 U+52A8.
        {"a double-byte name", {u"N"}, {{u"启动"}}, kBom + Le("N") + kCrLf + "\x2F\x54\xA8\x52" + kCrLf},
        // 한 U+D55C, and U+1F600 as its surrogate pair D83D DE00.
        {"a name outside the code page", {u"N"}, {{u"한\U0001F600"}},
         kBom + Le("N") + kCrLf + std::string("\x5C\xD5\x3D\xD8\x00\xDE", 6) + kCrLf},
        {"a tab and a line break in cells", {u"N", u"M"}, {{u"a\tb", u"c\r\nd"}},
         kBom + Le("N") + kTab + Le("M") + kCrLf + Le("\"a\tb\"") + kTab + Le("\"c\r\nd\"") + kCrLf},
        {"empty hidden cells keep their tabs", {u"A", u"", u""}, {{u"x", u"", u""}},
         kBom + Le("A") + kTab + kTab + kCrLf + Le("x") + kTab + kTab + kCrLf},
    };
    for (const FileCase& c : cases) EXPECT_EQ(ExportedListBytes(c.headings, c.rows), c.bytes) << c.what;
}

class SaveListTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake.files.AddFolder("C:\\Out");
        fake.files.AddFolder("C:\\Elsewhere");
    }
    bool Save() { return SaveListAs(fake.Get(), "启动项.txt", headings, rows, 0x1234); }

    testing::FakePlatform fake;
    const TextRow headings{u"启动项", u""};
    const std::vector<TextRow> rows{{u"Tool", u"HKCU\\Run"}};
    const std::string bytes = ExportedListBytes(headings, rows);
};

TEST_F(SaveListTest, AsksWithTheSaveDialogInChineseAndWritesTheChosenFile) {
    fake.fileDialog.QueueAnswer("C:\\Out\\list.txt");
    EXPECT_TRUE(Save());
    ASSERT_EQ(fake.fileDialog.SaveRequests().size(), 1u);
    const SaveFileRequest& asked = fake.fileDialog.SaveRequests()[0];
    EXPECT_EQ(asked.title, "导出列表");
    EXPECT_EQ(asked.filterName, "文本文件 (*.txt)");
    EXPECT_EQ(asked.filterPattern, "*.txt");
    EXPECT_EQ(asked.fileName, "启动项.txt");
    EXPECT_EQ(asked.defaultExtension, "txt");
    EXPECT_EQ(asked.owner, 0x1234u);
    EXPECT_NE(asked.flags & kOfnOverwritePrompt, 0u);
    EXPECT_NE(asked.flags & kOfnPathMustExist, 0u);
    EXPECT_EQ(fake.files.Contents("C:\\Out\\list.txt"), bytes);
    EXPECT_TRUE(fake.prompter.Prompts().empty());
}

TEST_F(SaveListTest, ACancelWritesNothing) {
    EXPECT_FALSE(Save());
    EXPECT_EQ(fake.fileDialog.SaveRequests().size(), 1u);
    EXPECT_FALSE(fake.files.Exists("C:\\Out\\list.txt"));
    EXPECT_TRUE(fake.prompter.Prompts().empty());
}

TEST_F(SaveListTest, AFileTheUserAgreedToReplaceIsReplaced) {
    fake.files.AddFile("C:\\Out\\list.txt");
    fake.fileDialog.QueueAnswer("C:\\Out\\list.txt");
    EXPECT_TRUE(Save());
    EXPECT_EQ(fake.files.Contents("C:\\Out\\list.txt"), bytes);
}

TEST_F(SaveListTest, ALinkPlantedAtTheNameIsReplacedNotFollowed) {
    fake.files.AddFile("C:\\Elsewhere\\victim.ini");
    fake.files.AddLink("C:\\Out\\list.txt", "C:\\Elsewhere\\victim.ini");
    fake.fileDialog.QueueAnswer("C:\\Out\\list.txt");
    EXPECT_TRUE(Save());
    EXPECT_EQ(fake.files.Contents("C:\\Elsewhere\\victim.ini"), "");
    EXPECT_EQ(fake.files.Contents("C:\\Out\\list.txt"), bytes);
}

TEST_F(SaveListTest, AFileThatCannotBeWrittenIsToldAndNothingLandsThroughALinkedFolder) {
    fake.files.AddLink("C:\\Linked", "C:\\Elsewhere");
    for (const char* path : {"C:\\Missing\\list.txt", "C:\\Linked\\list.txt"}) {
        fake.fileDialog.QueueAnswer(path);
        EXPECT_FALSE(Save()) << path;
    }
    EXPECT_FALSE(fake.files.Exists("C:\\Elsewhere\\list.txt"));
    ASSERT_EQ(fake.prompter.Prompts().size(), 2u);
    EXPECT_EQ(fake.prompter.Prompts()[0].text,
              "无法保存列表，请换一个文件名或文件夹再试：\nC:\\Missing\\list.txt");
    EXPECT_EQ(fake.prompter.Prompts()[1].text,
              "无法保存列表，请换一个文件名或文件夹再试：\nC:\\Linked\\list.txt");
    EXPECT_EQ(fake.prompter.Prompts()[0].type, kMbOk | kMbIconExclamation);
}

}  // namespace
}  // namespace tv
