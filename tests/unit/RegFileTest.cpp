// Reading registry editor export text into the in-memory registry.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/WideText.h"
#include "restore/RegBackup.h"
#include "restore/RegExport.h"
#include "tests/support/RegFile.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/host/IconvTextCodec.h"
#include "tests/contract/RegistryDump.h"

namespace {

using Bytes = std::string;
using Lines = std::vector<std::string>;

const char kV5[] = "Windows Registry Editor Version 5.00\r\n";
const char kV4[] = "REGEDIT4\r\n";
const char kKey[] = "[HKEY_CURRENT_USER\\Software\\T]\r\n";

// A fresh registry with some text imported into it.
struct Imported {
    explicit Imported(const std::string& bytes)
        : ok(tv::ImportRegFile(registry, bytes, tv::IconvTextCodec(), &error)) {}

    Lines Dump(const std::string& path = "Software\\T") {
        return tvtest::DumpTree(registry, tv::kHkeyCurrentUser, path);
    }
    // Type and bytes of one value below HKCU\Software\T.
    bool Value(const std::string& name, std::uint32_t* type, Bytes* data) {
        const tv::RegKey key =
            tv::RegKey::Open(registry, tv::kHkeyCurrentUser, "Software\\T", tv::kKeyRead);
        std::uint32_t size = 0;
        if (key.Query(name, type, nullptr, &size) != tv::kErrorSuccess) return false;
        data->assign(size + 1, '\0');
        key.Query(name, type, data->data(), &size);
        data->resize(size);
        return true;
    }

    tv::FakeRegistry registry;
    tv::RegFileError error;
    bool ok;
};

// UTF-16LE bytes with a byte-order mark.
std::string Utf16File(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

struct ValueCase {
    const char* label;
    const char* header;
    std::string line;
    std::string name;
    std::uint32_t type;
    Bytes data;
};

TEST(RegFile, EachValueKindIsStoredWithExactBytes) {
    const ValueCase cases[] = {
        {"string", kV5, "\"S\"=\"text\"", "S", tv::kRegSz, Bytes("text\0", 5)},
        {"escapes", kV5, "\"E\"=\"a\\\\b\\\"c\"", "E", tv::kRegSz, Bytes("a\\b\"c\0", 6)},
        {"empty string", kV5, "\"E\"=\"\"", "E", tv::kRegSz, Bytes("\0", 1)},
        {"escaped name", kV5, "\"a\\\"b\"=\"x\"", "a\"b", tv::kRegSz, Bytes("x\0", 2)},
        {"default", kV5, "@=\"dflt\"", "", tv::kRegSz, Bytes("dflt\0", 5)},
        {"blanks and comment", kV5, "  \"S\" = \"x\" ; note", "S", tv::kRegSz, Bytes("x\0", 2)},
        {"dword", kV5, "\"D\"=dword:0000002a", "D", tv::kRegDword, Bytes("\x2a\0\0\0", 4)},
        {"dword max", kV5, "\"D\"=dword:FFFFFFFF", "D", tv::kRegDword, Bytes("\xff\xff\xff\xff", 4)},
        {"short dword", kV5, "\"D\"=dword:102", "D", tv::kRegDword, Bytes("\x02\x01\0\0", 4)},
        {"binary", kV5, "\"B\"=hex:de,AD,0,ef", "B", tv::kRegBinary, Bytes("\xde\xad\x00\xef", 4)},
        {"empty binary", kV5, "\"B\"=hex:", "B", tv::kRegBinary, Bytes()},
        {"continued", kV5, "\"B\"=hex:01,02,\\\r\n  03,\\\r\n\t04", "B", tv::kRegBinary,
         Bytes("\x01\x02\x03\x04", 4)},
        {"continued with comment", kV5, "\"B\"=hex:01,\\ ; more\n  02 ; end", "B", tv::kRegBinary,
         Bytes("\x01\x02", 2)},
        {"expand from UTF-16", kV5, "\"X\"=hex(2):25,00,41,00,25,00,00,00", "X",
         tv::kRegExpandSz, Bytes("%A%\0", 4)},
        // a, 中 (U+4E2D, CP936 D6 D0)
        {"multi from UTF-16", kV5, "\"M\"=hex(7):61,00,00,00,2d,4e,00,00,00,00", "M",
         tv::kRegMultiSz, Bytes("a\0\xD6\xD0\0\0", 6)},
        {"string type as hex", kV5, "\"S\"=hex(1):41,00,00,00", "S", tv::kRegSz, Bytes("A\0", 2)},
        {"expand raw in REGEDIT4", kV4, "\"X\"=hex(2):41,42,00", "X", tv::kRegExpandSz,
         Bytes("AB\0", 3)},
        {"qword", kV5, "\"Q\"=hex(b):01,02,03,04,05,06,07,08", "Q", 11,
         Bytes("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
        {"none", kV5, "\"N\"=hex(0):ff", "N", tv::kRegNone, Bytes("\xff", 1)},
        // 8-bit text is CP936: 中 = D6 D0, 文 = CE C4.
        {"chinese 8-bit", kV5, "\"\xD6\xD0\"=\"\xCE\xC4\"", "\xD6\xD0", tv::kRegSz,
         Bytes("\xCE\xC4\0", 3)},
        // 衆 = D0 5C: its second byte is not an escape.
        {"backslash trail byte", kV4, "\"\xD0\x5C\"=\"\xD0\x5C\"", "\xD0\x5C", tv::kRegSz,
         Bytes("\xD0\x5C\0", 3)},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.label);
        Imported imported(std::string(c.header) + kKey + c.line + "\r\n");
        ASSERT_TRUE(imported.ok) << imported.error.line << ": " << imported.error.message;
        std::uint32_t type = 0xFFFF;
        Bytes data;
        ASSERT_TRUE(imported.Value(c.name, &type, &data));
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(tvtest::ShowBytes(data), tvtest::ShowBytes(c.data));
        EXPECT_EQ(imported.Dump().size(), 2u);  // the key and this one value
    }
}

TEST(RegFile, KeySectionsCreateKeysWithMissingParents) {
    Imported imported(std::string(kV5) +
                      "[HKEY_CURRENT_USER\\Software\\T\\A\\B]\n"
                      "[hkey_local_machine\\Software\\M]\n"
                      "[HKCR\\.x]\n");
    ASSERT_TRUE(imported.ok) << imported.error.message;
    EXPECT_EQ(imported.Dump(), (Lines{"[A\\B]", "[A]", "[]"}));
    EXPECT_EQ(tvtest::DumpTree(imported.registry, tv::kHkeyLocalMachine, "Software\\M"),
              Lines{"[]"});
    EXPECT_EQ(tvtest::DumpTree(imported.registry, tv::kHkeyLocalMachine, "Software\\Classes\\.x"),
              Lines{"[]"});
}

TEST(RegFile, DeletionsRemoveValuesAndWholeSubtrees) {
    Imported imported(std::string(kV5) +
                      "[HKEY_CURRENT_USER\\Software\\T]\n"
                      "\"Keep\"=dword:1\n"
                      "\"Drop\"=dword:2\n"
                      "\"Drop\"=-\n"
                      "\"NeverSet\"=-\n"
                      "[HKEY_CURRENT_USER\\Software\\T\\Sub\\Deeper\\Deepest]\n"
                      "\"v\"=\"x\"\n"
                      "[HKEY_CURRENT_USER\\Software\\T\\Sub\\Sibling]\n"
                      "[HKEY_CURRENT_USER\\Software\\T\\Other]\n"
                      "[-HKEY_CURRENT_USER\\Software\\T\\Sub]\n"
                      "[-HKEY_CURRENT_USER\\Software\\T\\NotThere]\n");
    ASSERT_TRUE(imported.ok) << imported.error.line << ": " << imported.error.message;
    EXPECT_EQ(imported.Dump(), (Lines{"[Other]", "[]", "[] Keep=4:01000000"}));
    EXPECT_EQ(imported.registry.OpenHandleCount(), 0u);
}

TEST(RegFile, Utf16FileWithChineseBecomesCodePage936) {
    const std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\Software\\T\\中文]\r\n"
        u"\"名称\"=\"数据\\\\衆\"\r\n"
        u"\"Path\"=hex(2):2d,4e,5c,00,00,00\r\n"
        u"\"Raw\"=hex:2d,4e\r\n";
    Imported imported(Utf16File(text));
    ASSERT_TRUE(imported.ok) << imported.error.line << ": " << imported.error.message;
    // 中文 D6D0 CEC4, 名称 C3FB B3C6, 数据 CAFD BEDD, 衆 D05C.
    EXPECT_EQ(imported.Dump(),
              (Lines{"[<D6><D0><CE><C4>]",
                     "[<D6><D0><CE><C4>] <C3><FB><B3><C6>=1:cafdbedd5cd05c00",
                     "[<D6><D0><CE><C4>] Path=2:d6d05c00",
                     "[<D6><D0><CE><C4>] Raw=3:2d4e",
                     "[]"}));
}

TEST(RegFile, Utf8FileWithByteOrderMark) {
    // 中 in UTF-8 is E4 B8 AD; stored as CP936 D6 D0.
    Imported imported("\xEF\xBB\xBF" + std::string(kV5) + kKey + "\"\xE4\xB8\xAD\"=\"\xE4\xB8\xAD\"\n");
    ASSERT_TRUE(imported.ok) << imported.error.message;
    EXPECT_EQ(imported.Dump(), (Lines{"[]", "[] <D6><D0>=1:d6d000"}));
    // Sequences of every length, at the ends of their lead-byte ranges.
    const struct {
        const char* utf8;
        const char* stored;
    } cases[] = {
        {"\xC2\xA4", "1:a1e800"},              // ¤ U+00A4
        {"\xDF\xBF", "1:3f00"},                // U+07FF: no CP936 form
        {"\xE0\xA0\x80", "1:3f00"},            // U+0800
        {"\xEF\xBC\x81", "1:a3a100"},          // ！ U+FF01
        {"\xF0\x9F\x98\x80", "1:3f3f00"},      // U+1F600: a pair, each half unknown
        {"\xF4\x8F\xBF\xBF", "1:3f3f00"},      // U+10FFFF
    };
    for (const auto& c : cases) {
        Imported each("\xEF\xBB\xBF" + std::string(kV5) + kKey + "\"V\"=\"" + c.utf8 + "\"\n");
        ASSERT_TRUE(each.ok) << c.stored << ": " << each.error.message;
        EXPECT_EQ(each.Dump(), (Lines{"[]", std::string("[] V=") + c.stored}));
    }
}

struct MalformedCase {
    std::string text;
    int line;
};

TEST(RegFile, MalformedLinesAreRejectedWithTheirLineAndNothingIsWritten) {
    const std::string head = std::string(kV5) + "\r\n" + kKey;  // lines 1-3
    const MalformedCase cases[] = {
        {"REGEDIT5\r\n" + std::string(kKey), 1},
        {"", 1},
        {head + "\"S\"=\"unterminated\r\n", 4},
        {head + "\"S\"=\"bad \\q escape\"\r\n", 4},
        {head + "\"S\"=\"x\" junk\r\n", 4},
        {head + "\"S\"\r\n", 4},
        {head + "\"S\"=\r\n", 4},
        {head + "S=\"x\"\r\n", 4},
        {head + "\"S\"=str:\"x\"\r\n", 4},
        {head + "\"S\"=dword:123456789\r\n", 4},
        {head + "\"S\"=dword:\r\n", 4},
        {head + "\"S\"=dword:12x\r\n", 4},
        {head + "\"S\"=hex:1,2,zz\r\n", 4},
        {head + "\"S\"=hex:123\r\n", 4},
        {head + "\"S\"=hex:01,,02\r\n", 4},
        {head + "\"S\"=hex:01,\r\n", 4},
        {head + "\"S\"=hex(q):00\r\n", 4},
        {head + "\"S\"=hex(2):41\r\n", 4},
        {head + "\"S\"=hex:01,\\", 4},
        {head + "; comment\r\n\r\n\"B\"=hex:01,\\\r\n  02\r\n\"C\"=hex:0g\r\n", 8},
        {head + "[HKEY_USERS\\x]\r\n", 4},
        {head + "[HKEY_CURRENT_USER\\Software\\U\r\n", 4},
        {head + "[-HKEY_CURRENT_USER]\r\n", 4},
        {std::string(kV5) + "\"S\"=\"x\"\r\n", 2},
        {head + "[-HKEY_CURRENT_USER\\Software\\U]\r\n\"S\"=\"x\"\r\n", 5},
        {"\xEF\xBB\xBF" + head + "\"\xC3\"=\"x\"\r\n", 4},
        // UTF-8 that is not: a lone continuation byte, leads that start no
        // sequence, overlong forms, a surrogate, beyond U+10FFFF.
        {"\xEF\xBB\xBF" + head + "\"S\"=\"\x80\"\r\n", 4},
        {"\xEF\xBB\xBF" + head + "\"S\"=\"\xC1\xBF\"\r\n", 4},
        {"\xEF\xBB\xBF" + head + "\"S\"=\"\xF5\x80\x80\x80\"\r\n", 4},
        {"\xEF\xBB\xBF" + head + "\"S\"=\"\xE0\x9F\xBF\"\r\n", 4},
        {"\xEF\xBB\xBF" + head + "\"S\"=\"\xF0\x8F\xBF\xBF\"\r\n", 4},
        {"\xEF\xBB\xBF" + head + "\"S\"=\"\xED\xA0\x80\"\r\n", 4},
        {"\xEF\xBB\xBF" + head + "\"S\"=\"\xF4\x90\x80\x80\"\r\n", 4},
    };
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.text);
        Imported imported(c.text);
        EXPECT_FALSE(imported.ok);
        EXPECT_EQ(imported.error.line, c.line);
        EXPECT_FALSE(imported.error.message.empty());
        EXPECT_TRUE(imported.Dump().empty());
    }
}

TEST(RegFile, OddLengthUtf16IsRejected) {
    // The odd last byte is no character: a newline byte there adds no line.
    for (const char* last : {"x", "\n"}) {
        Imported imported(Utf16File(u"Windows Registry Editor Version 5.00\r\n") + last);
        EXPECT_FALSE(imported.ok);
        EXPECT_EQ(imported.error.line, 2);
    }
}

TEST(RegFile, FailingRegistryCallStopsTheImportAtItsLine) {
    // A path starting with a backslash is refused by the registry (161).
    Imported imported(std::string(kV5) + kKey + "\"A\"=dword:1\n[HKEY_CURRENT_USER\\\\Bad]\n"
                      "\"B\"=dword:2\n");
    EXPECT_FALSE(imported.ok);
    EXPECT_EQ(imported.error.line, 4);
    EXPECT_NE(imported.error.message.find("161"), std::string::npos);
    EXPECT_EQ(imported.Dump(), (Lines{"[]", "[] A=4:01000000"}));
    EXPECT_EQ(imported.registry.OpenHandleCount(), 0u);
}

TEST(RegFile, DeleteKeyTreeRemovesEverythingBelowDepthFirst) {
    tv::FakeRegistry registry;
    for (const char* path : {"R\\A\\B\\C", "R\\A\\D", "R\\E", "Keep"}) {
        ASSERT_TRUE(tv::RegKey::Create(registry, tv::kHkeyCurrentUser, path));
    }
    EXPECT_EQ(tv::DeleteKeyTree(registry, tv::kHkeyCurrentUser, "r"), tv::kErrorSuccess);
    EXPECT_TRUE(tvtest::DumpTree(registry, tv::kHkeyCurrentUser, "R").empty());
    EXPECT_EQ(tvtest::DumpTree(registry, tv::kHkeyCurrentUser, "Keep"), Lines{"[]"});
    EXPECT_EQ(tv::DeleteKeyTree(registry, tv::kHkeyCurrentUser, "R"), tv::kErrorFileNotFound);
    EXPECT_EQ(tv::DeleteKeyTree(registry, tv::kHkeyCurrentUser, ""), tv::kErrorInvalidParameter);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

// The fixture the Wine test also imports with the system's regedit.
TEST(RegFile, SampleFixtureLoadsCompletely) {
    std::ifstream in(TV_FIXTURE_DIR "/sample.reg", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Imported imported(bytes);
    ASSERT_TRUE(imported.ok) << imported.error.line << ": " << imported.error.message;
    Lines expected = {
        "[]",
        "[] =1:c4acc8cfd6b500",                                    // 默认值
        "[] <D7><D6><B7><FB><B4><AE>=1:d6d0cec4cafdbedd00",        // 字符串 = 中文数据
        "[] Escapes=1:433a5c50726f6772616d2046696c65735c2251756f7465642200",
        "[] Empty=1:00",
        "[] Number=4:2a000000",
        "[] Max=4:ffffffff",
        "[] Binary=3:00017f80ff",
        "[] EmptyBinary=3:",
        "[] Expand=2:2553797374656d526f6f74255cd6d0cec400",      // %SystemRoot%\中文
        "[] Multi=7:6100d6d0cec40000",                             // a, 中文
        "[] Qword=11:0102030405060708",
        "[] None=0:dead",
        "[MixedCase]",
        "[MixedCase] ValueA=1:6100",
        "[<D7><D3><BC><FC>]",                                      // 子键
        "[<D7><D3><BC><FC>\\<D0>\\]",                              // 子键\衆
        "[<D7><D3><BC><FC>\\<D0>\\] <C3><FB><B3><C6>=4:01000000",  // 名称
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(imported.Dump("Software\\TrimvexFixture"), expected);
}

// The writer's UTF-16 bytes as 8-bit text, mark dropped.
std::string AnsiText(const Bytes& bytes) {
    std::u16string wide = tv::utf16::FromBytes(std::string_view(bytes).substr(2));
    return tv::IconvTextCodec().WideToAnsi(wide);
}

struct WriteCase {
    const char* label;
    std::string name;
    std::uint32_t type;
    Bytes data;
    std::string line;  // as written, in 8-bit text
};

// Every type and the awkward data are written so that the registry editor
// stores the same type and bytes again.
TEST(RegFile, WrittenValuesReadBackWithExactBytes) {
    const WriteCase cases[] = {
        {"string", "S", tv::kRegSz, Bytes("text\0", 5), "\"S\"=\"text\""},
        {"escapes in name and data", "a\"b\\c=d", tv::kRegSz, Bytes("x\\\"y\0", 5),
         "\"a\\\"b\\\\c=d\"=\"x\\\\\\\"y\""},
        {"empty string", "E", tv::kRegSz, Bytes("\0", 1), "\"E\"=\"\""},
        {"no bytes at all", "E", tv::kRegSz, Bytes(), "\"E\"=hex(1):"},
        {"string without its NUL", "S", tv::kRegSz, Bytes("ab", 2), "\"S\"=hex(1):61,00,62,00"},
        {"line break in a string", "S", tv::kRegSz, Bytes("a\r\nb\0", 5),
         "\"S\"=hex(1):61,00,0d,00,0a,00,62,00,00,00"},
        {"default value", "", tv::kRegSz, Bytes("dflt\0", 5), "@=\"dflt\""},
        {"dword", "D", tv::kRegDword, Bytes("\x2a\0\0\0", 4), "\"D\"=dword:0000002a"},
        {"dword of three bytes", "D", tv::kRegDword, Bytes("\x01\x02\x03", 3),
         "\"D\"=hex(4):01,02,03"},
        {"binary of odd length", "B", tv::kRegBinary, Bytes("\xde\xad\x00", 3),
         "\"B\"=hex:de,ad,00"},
        {"empty binary", "B", tv::kRegBinary, Bytes(), "\"B\"=hex:"},
        {"long binary", "B", tv::kRegBinary, Bytes(30, '\x11'),
         "\"B\"=hex:11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\r\n"
         "  11,11,11,11,11,11,11"},
        {"expand", "X", tv::kRegExpandSz, Bytes("%A%\0", 4), "\"X\"=hex(2):25,00,41,00,25,00,00,00"},
        // 中 = CP936 D6 D0 = U+4E2D; three bytes without a NUL
        {"expand of odd length", "X", tv::kRegExpandSz, Bytes("\xD6\xD0" "a", 3),
         "\"X\"=hex(2):2d,4e,61,00"},
        {"multi with an empty string inside", "M", tv::kRegMultiSz, Bytes("a\0\0b\0\0", 6),
         "\"M\"=hex(7):61,00,00,00,00,00,62,00,00,00,00,00"},
        {"multi, one NUL", "M", tv::kRegMultiSz, Bytes("\0", 1), "\"M\"=hex(7):00,00"},
        {"qword", "Q", 11, Bytes("\x01\x02\x03\x04\x05\x06\x07\x08", 8),
         "\"Q\"=hex(b):01,02,03,04,05,06,07,08"},
        {"none", "N", tv::kRegNone, Bytes("\xff", 1), "\"N\"=hex(0):ff"},
        {"large type number", "N", 0x20001, Bytes("\x01", 1), "\"N\"=hex(20001):01"},
        // 中文 names and data; 衆 (D0 5C) ends in a byte that is not a backslash
        {"chinese", "\xD6\xD0", tv::kRegSz, Bytes("\xCE\xC4\0", 3), "\"\xD6\xD0\"=\"\xCE\xC4\""},
        {"backslash trail byte", "\xD0\x5C", tv::kRegSz, Bytes("\xD0\x5C\0", 3),
         "\"\xD0\x5C\"=\"\xD0\x5C\""},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.label);
        const tv::IconvTextCodec codec;
        tv::RegExportWriter writer(codec);
        writer.Key(tv::kHkeyCurrentUser, "Software\\T");
        writer.Value(c.name, c.type, c.data);
        const Bytes bytes = writer.Bytes();
        EXPECT_EQ(bytes.substr(0, 4), Bytes("\xFF\xFE" "W\0", 4));
        EXPECT_EQ(AnsiText(bytes), std::string(kV5) + "\r\n" + kKey + c.line + "\r\n\r\n");
        Imported imported(bytes);
        ASSERT_TRUE(imported.ok) << imported.error.line << ": " << imported.error.message;
        std::uint32_t type = 0xFFFF;
        Bytes data;
        ASSERT_TRUE(imported.Value(c.name, &type, &data));
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(tvtest::ShowBytes(data), tvtest::ShowBytes(c.data));
    }
}

// What a change is about to touch is recorded so that importing the file
// undoes the change exactly: old values back, new values and keys gone.
TEST(RegFile, BackupUndoesAChangeExactly) {
    tv::FakeRegistry registry;
    registry.UseCodec(std::make_shared<tv::IconvTextCodec>());
    const tv::IconvTextCodec codec;
    tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\T").SetString("Old", "before");
    tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\T\\Tree\\Deep")
        .SetMultiString("M", {"x", "\xD6\xD0"});
    const Lines original = tvtest::DumpTree(registry, tv::kHkeyCurrentUser, "Software");

    tv::RegBackup backup(registry, codec);
    backup.Comment("three\nshort\r\nlines\n\nend");
    backup.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\T", "Old");
    backup.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\T", "New");  // absent before
    backup.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\T\\Made\\Inner", "A");
    backup.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\T\\Made\\Inner", "B");
    // Back in a key named before the deletion: named again.
    backup.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\T", "Later");
    EXPECT_TRUE(backup.AddKeyTree(tv::kHkeyCurrentUser, "Software\\T\\Tree"));
    EXPECT_FALSE(backup.AddKeyTree(tv::kHkeyCurrentUser, "Software\\T\\Missing"));
    EXPECT_FALSE(backup.AddValue(tv::kHkeyCurrentUser, "Software\\T", "Missing"));
    EXPECT_FALSE(backup.AddValue(tv::kHkeyCurrentUser, "Software\\Missing", "Old"));
    EXPECT_TRUE(tv::RegBackup(registry, codec).AddValue(tv::kHkeyCurrentUser, "Software\\T", "Old"));
    EXPECT_TRUE(backup.HasContent());
    EXPECT_FALSE(backup.Failed());
    EXPECT_EQ(AnsiText(backup.Bytes()),
              std::string(kV5) +
                  "; three\r\n"
                  "; short\r\n"
                  "; lines\r\n"
                  "; \r\n"
                  "; end\r\n"
                  "\r\n"
                  "[HKEY_CURRENT_USER\\Software\\T]\r\n"
                  "\"Old\"=\"before\"\r\n"
                  "\"New\"=-\r\n"
                  "\r\n"
                  "[-HKEY_CURRENT_USER\\Software\\T\\Made]\r\n"
                  "\r\n"
                  "[HKEY_CURRENT_USER\\Software\\T]\r\n"
                  "\"Later\"=-\r\n"
                  "\r\n"
                  "[HKEY_CURRENT_USER\\Software\\T\\Tree]\r\n"
                  "\r\n"
                  "[HKEY_CURRENT_USER\\Software\\T\\Tree\\Deep]\r\n"
                  "\"M\"=hex(7):78,00,00,00,2d,4e,00,00,00,00\r\n"
                  "\r\n");

    // The change: overwrite, add, create keys, delete a tree.
    tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\T").SetDword("Old", 1);
    tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\T").SetDword("New", 1);
    tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\T").SetDword("Later", 1);
    tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\T\\Made\\Inner").SetDword("A", 1);
    tv::DeleteKeyTree(registry, tv::kHkeyCurrentUser, "Software\\T\\Tree");
    ASSERT_NE(tvtest::DumpTree(registry, tv::kHkeyCurrentUser, "Software"), original);

    tv::RegFileError error;
    ASSERT_TRUE(tv::ImportRegFile(registry, backup.Bytes(), codec, &error)) << error.message;
    EXPECT_EQ(tvtest::DumpTree(registry, tv::kHkeyCurrentUser, "Software"), original);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

// Names and strings outside the code page are kept exactly: read through
// the Unicode calls, written as UTF-16, and a string of odd length as the
// bytes it is.
TEST(RegFile, BackupKeepsNamesAndStringsInAnyScript) {
    tv::FakeRegistry registry;
    registry.UseCodec(std::make_shared<tv::IconvTextCodec>());
    const std::u16string hangul = u"\uCE74\uCE74\uC624";  // 카카오
    auto wideBytes = [](const std::u16string& text) {
        std::string bytes = tv::utf16::ToBytes(text);
        return bytes;
    };
    tv::RegHandle key = 0;
    ASSERT_EQ(registry.CreateKeyW(tv::kHkeyCurrentUser, u"Software\\T\\" + hangul, &key),
              tv::kErrorSuccess);
    const std::string path = wideBytes(u"C:\\" + hangul + u".exe") + std::string(2, '\0');
    registry.SetValueW(key, hangul, tv::kRegSz, path.data(), static_cast<std::uint32_t>(path.size()));
    registry.SetValueW(key, u"odd", tv::kRegSz, "a\0b", 3);
    registry.CloseKey(key);
    tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\T").SetString("????", "decoy");

    const tv::IconvTextCodec codec;
    tv::RegBackup tree(registry, codec);
    EXPECT_TRUE(tree.AddKeyTree(tv::kHkeyCurrentUser, "Software\\T"));
    EXPECT_FALSE(tree.Failed());
    const std::string bytes = tree.Bytes();
    const std::string expected = "\xFF\xFE" + wideBytes(
        u"Windows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\Software\\T]\r\n"
        u"\"????\"=\"decoy\"\r\n\r\n"
        u"[HKEY_CURRENT_USER\\Software\\T\\" + hangul + u"]\r\n"
        u"\"" + hangul + u"\"=\"C:\\\\" + hangul + u".exe\"\r\n"
        u"\"odd\"=hex(1):61,00,62\r\n\r\n");
    EXPECT_EQ(AnsiText(bytes), AnsiText(expected));
    EXPECT_EQ(bytes, expected);

    // A value is found by its exact name only: "????" is the decoy, and the
    // Hangul name is not a value of this key.
    tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\U").SetString("u", "");
    tv::RegBackup one(registry, codec);
    EXPECT_TRUE(one.AddValue(tv::kHkeyCurrentUser, "Software\\T", u"????"));
    EXPECT_FALSE(one.AddValue(tv::kHkeyCurrentUser, "Software\\T", hangul));
    // A key of the same length is another key: it is named anew.
    EXPECT_TRUE(one.AddValue(tv::kHkeyCurrentUser, "Software\\U", u"u"));
    EXPECT_TRUE(one.AddValue(tv::kHkeyCurrentUser, "software\\u", u"u"));
    EXPECT_EQ(one.Bytes(), "\xFF\xFE" + wideBytes(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                                   u"[HKEY_CURRENT_USER\\Software\\T]\r\n"
                                                   u"\"????\"=\"decoy\"\r\n\r\n"
                                                   u"[HKEY_CURRENT_USER\\Software\\U]\r\n"
                                                   u"\"u\"=\"\"\r\n\"u\"=\"\"\r\n\r\n"));
}

// What each kind of entry puts in the file: a change is only worth a file
// when something besides comments was recorded.
TEST(RegFile, ABackupHoldsWhatWasFoundOrWillBeUndone) {
    tv::FakeRegistry registry;
    tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\T").SetString("V", "x");
    const tv::IconvTextCodec codec;
    struct Case {
        const char* label;
        bool (*add)(tv::RegBackup&);  // what the call returns, where it returns something
        bool returned, content;
    } cases[] = {
        {"comments only", [](tv::RegBackup& b) { b.Comment("c"); return true; }, true, false},
        {"value found", [](tv::RegBackup& b) { return b.AddValue(tv::kHkeyCurrentUser, "Software\\T", "V"); }, true, true},
        {"value missing", [](tv::RegBackup& b) { return b.AddValue(tv::kHkeyCurrentUser, "Software\\T", "W"); }, false, false},
        {"value named with a line break",
         [](tv::RegBackup& b) { return b.AddValue(tv::kHkeyCurrentUser, "Software\\T", u"V\nW"); }, false, false},
        {"value to write, there before",
         [](tv::RegBackup& b) { b.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\T", "V"); return true; }, true, true},
        {"value to write, new",
         [](tv::RegBackup& b) { b.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\T", "W"); return true; }, true, true},
        {"value to write in a new key",
         [](tv::RegBackup& b) { b.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\T\\N", "W"); return true; }, true, true},
        {"value to delete",
         [](tv::RegBackup& b) { b.AddValueDeletion(tv::kHkeyCurrentUser, "Software\\T", u"W"); return true; }, true, true},
        {"tree found", [](tv::RegBackup& b) { return b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\T"); }, true, true},
        {"tree missing", [](tv::RegBackup& b) { return b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\N"); }, false, false},
        {"tree named with a line break",
         [](tv::RegBackup& b) { return b.AddKeyTree(tv::kHkeyCurrentUser, u"Software\\T\nU"); }, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        tv::RegBackup backup(registry, codec);
        EXPECT_EQ(c.add(backup), c.returned);
        EXPECT_EQ(backup.HasContent(), c.content);
    }
}

// The in-memory registry, except that one key cannot be opened and one
// value cannot be read (access denied), as on a system with locked keys.
class LockedRegistry : public tv::FakeRegistry {
public:
    std::string lockedKey;    // full path below its root, as opened
    std::string lockedValue;  // value name
    std::string growingValue;  // grows by a byte before every read of its data
    // Listed, but not found by the name listed (as the ANSI calls spell a
    // name outside the code page).
    std::string unspelledKey, unspelledValue;
    long OpenKey(tv::RegHandle parent, const std::string& path, std::uint32_t access,
                 tv::RegHandle* key) override {
        if (path == lockedKey || path.substr(path.rfind('\\') + 1) == lockedKey) return tv::kErrorAccessDenied;
        if (path == unspelledKey) return tv::kErrorFileNotFound;
        return FakeRegistry::OpenKey(parent, path, access, key);
    }
    long QueryValue(tv::RegHandle key, const std::string& name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override {
        if (name == lockedValue) return tv::kErrorAccessDenied;
        if (name == unspelledValue) return tv::kErrorFileNotFound;
        if (name == growingValue && data != nullptr) {
            *size += 1;
            return tv::kErrorMoreData;
        }
        return FakeRegistry::QueryValue(key, name, type, data, size);
    }
    // Backups read through the Unicode calls; the names here are ASCII.
    long OpenKeyW(tv::RegHandle parent, const std::u16string& path, std::uint32_t access,
                  tv::RegHandle* key) override {
        return OpenKey(parent, Narrow(path), access, key);
    }
    long QueryValueW(tv::RegHandle key, const std::u16string& name, std::uint32_t* type,
                     void* data, std::uint32_t* size) override {
        const std::string ascii = Narrow(name);
        if (ascii == lockedValue) return tv::kErrorAccessDenied;
        if (ascii == unspelledValue) return tv::kErrorFileNotFound;
        if (ascii == growingValue && data != nullptr) {
            *size += 1;
            return tv::kErrorMoreData;
        }
        return FakeRegistry::QueryValueW(key, name, type, data, size);
    }

private:
    static std::string Narrow(const std::u16string& text) {
        return std::string(text.begin(), text.end());
    }
};

// A tree is kept down to 64 levels, its own key counted; one deeper fails
// the backup rather than recurse without end.
TEST(RegFile, BackupKeepsTreesDownToTheirDepthBound) {
    for (const int levels : {64, 65}) {
        SCOPED_TRACE(levels);
        tv::FakeRegistry registry;
        const tv::IconvTextCodec codec;
        std::string path = "Software\\Chain";
        for (int level = 1; level < levels; ++level) path += "\\k";
        tv::RegKey::Create(registry, tv::kHkeyCurrentUser, path).SetDword("Bottom", 1);
        tv::RegBackup backup(registry, codec);
        EXPECT_TRUE(backup.AddKeyTree(tv::kHkeyCurrentUser, "Software\\Chain"));
        EXPECT_EQ(backup.Failed(), levels > 64);
    }
}

// A key or value that exists but cannot be read would not come back: the
// backup counts as failed, so the change does not go ahead.
TEST(RegFile, BackupFailsOnWhatCannotBeRead) {
    struct Case {
        const char* label;
        std::string lockedKey, lockedValue, growingValue;
        void (*add)(tv::RegBackup&);
        int nested = 0;  // keys below Software\T\Sub, one inside the other
        std::string unspelledKey, unspelledValue;
    } cases[] = {
        {"value that never stops growing", "", "", "V",
         [](tv::RegBackup& b) { b.AddValue(tv::kHkeyCurrentUser, "Software\\T", "V"); }},
        {"value of a removal", "", "V", "",
         [](tv::RegBackup& b) { b.AddValue(tv::kHkeyCurrentUser, "Software\\T", "V"); }},
        {"key of a removal", "Software\\T", "", "",
         [](tv::RegBackup& b) { b.AddValue(tv::kHkeyCurrentUser, "Software\\T", "V"); }},
        {"value of a tweak", "", "V", "",
         [](tv::RegBackup& b) { b.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\T", "V"); }},
        {"key of a tweak", "Software\\T", "", "",
         [](tv::RegBackup& b) { b.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\T", "V"); }},
        {"parent of a missing key", "Software\\T", "", "",
         [](tv::RegBackup& b) { b.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\T\\New", "V"); }},
        {"value in a tree", "", "V", "",
         [](tv::RegBackup& b) { b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\T"); }},
        {"key of a tree", "Software\\T", "", "",
         [](tv::RegBackup& b) { b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\T"); }},
        {"value listed but not found by its name", "", "", "",
         [](tv::RegBackup& b) { b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\T"); }, 0, "", "W"},
        {"subkey listed but not found by its name", "", "", "",
         [](tv::RegBackup& b) { b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\T"); }, 0, "Sub"},
        {"value name too long to list", "", "", "",
         [](tv::RegBackup& b) { b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\Long"); }},
        {"subkey in a tree", "Sub", "", "",
         [](tv::RegBackup& b) { b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\T"); }},
        {"tree deeper than any the system makes", "", "", "",
         [](tv::RegBackup& b) { b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\T"); }, 80},
        // Names a line of the file cannot carry: the entry would be cut or
        // lost on import.
        {"value name with a line feed", "", "", "",
         [](tv::RegBackup& b) { b.AddValue(tv::kHkeyCurrentUser, "Software\\Odd\\Values", "L\nF"); }},
        {"value names with line breaks in a tree", "", "", "",
         [](tv::RegBackup& b) { b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\Odd\\Values"); }},
        {"key name with a carriage return in a tree", "", "", "",
         [](tv::RegBackup& b) { b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\Odd\\Keys"); }},
        {"tree named with a line break", "", "", "",
         [](tv::RegBackup& b) { b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\Odd\\Keys\\C\rR"); }},
        {"key of a tweak named with a line break", "", "", "",
         [](tv::RegBackup& b) { b.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\Odd\\Keys\\C\rR", "V"); }},
        {"value deletion named with a line break", "", "", "",
         [](tv::RegBackup& b) { b.AddValueDeletion(tv::kHkeyCurrentUser, "Software\\T", u"L\nF"); }},
        // A name with a NUL: every call stops there, so what would be read
        // (and what an import would write) is "V", another value.
        {"value name with a NUL", "", "", "",
         [](tv::RegBackup& b) { b.AddValue(tv::kHkeyCurrentUser, "Software\\T", std::u16string(u"V\0x", 3)); }},
        {"8-bit value name with a NUL", "", "", "",
         [](tv::RegBackup& b) { b.AddValue(tv::kHkeyCurrentUser, "Software\\T", std::string("V\0x", 3)); }},
        {"value named with a NUL in a tree", "", "", "",
         [](tv::RegBackup& b) { b.AddKeyTree(tv::kHkeyCurrentUser, "Software\\Nul"); }},
        {"value deletion named with a NUL", "", "", "",
         [](tv::RegBackup& b) { b.AddValueDeletion(tv::kHkeyCurrentUser, "Software\\T", std::u16string(u"V\0x", 3)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        LockedRegistry registry;
        tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\T").SetString("V", "x");
        tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\T\\Sub").SetString("W", "y");
        std::string deep = "Software\\T\\Sub";
        for (int level = 0; level < c.nested; ++level) deep += "\\K";
        if (c.nested > 0) tv::RegKey::Create(registry, tv::kHkeyCurrentUser, deep);
        tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\Odd\\Values").SetString("L\nF", "x");
        tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\Odd\\Values").SetString("C\rR", "x");
        tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\Odd\\Keys\\C\rR").SetString("V", "x");
        tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\Long")
            .SetString(std::string(tv::kValueNameBufferSize, 'n'), "x");
        {
            tv::RegKey nul = tv::RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\Nul");
            nul.SetString("V", "real");
            registry.SetValueCountedW(nul.Handle(), std::u16string(u"V\0x", 3), tv::kRegSz, "x\0\0\0", 4);
        }
        registry.unspelledKey = c.unspelledKey;
        registry.unspelledValue = c.unspelledValue;
        registry.lockedKey = c.lockedKey;
        registry.lockedValue = c.lockedValue;
        registry.growingValue = c.growingValue;
        const tv::IconvTextCodec codec;
        tv::RegBackup backup(registry, codec);
        c.add(backup);
        EXPECT_TRUE(backup.Failed());
        tv::RegBackup readable(registry, codec);
        readable.AddValueOrAbsence(tv::kHkeyCurrentUser, "Software\\Other", "V");
        EXPECT_FALSE(readable.Failed());
    }
}

}  // namespace
