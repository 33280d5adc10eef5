// Code page 936 text helpers. The double-byte characters used are real CP936
// characters (checked with iconv -f CP936) whose second byte looks like ASCII:
//   衆 D0 5C  second byte '\'      癨 B0 5C  second byte '\'
//   華 C8 41  second byte 'A'      萢 C8 61  second byte 'a'
//   乑 81 5A  second byte 'Z'      乤 81 61  second byte 'a'
//   中 D6 D0  文 CE C4
#include <gtest/gtest.h>

#include "platform/CodePageText.h"

namespace {

namespace text = tv::text;

const std::string kBackslashTrail = "\xD0\x5C";  // 衆
const std::string kBackslashTrail2 = "\xB0\x5C"; // 癨
const std::string kUpperATrail = "\xC8\x41";     // 華
const std::string kLowerATrail = "\xC8\x61";     // 萢
const std::string kUpperZTrail = "\x81\x5A";     // 乑
const std::string kLowerATrail2 = "\x81\x61";    // 乤
const std::string kZhong = "\xD6\xD0";           // 中
const std::string kWen = "\xCE\xC4";             // 文

TEST(CodePageText, LeadBytesAre81ToFE) {
    EXPECT_FALSE(text::IsLeadByte(0x00));
    EXPECT_FALSE(text::IsLeadByte(0x7F));
    EXPECT_FALSE(text::IsLeadByte(0x80));
    EXPECT_TRUE(text::IsLeadByte(0x81));
    EXPECT_TRUE(text::IsLeadByte(0xC8));
    EXPECT_TRUE(text::IsLeadByte(0xFE));
    EXPECT_FALSE(text::IsLeadByte(0xFF));
}

struct FoldCase {
    std::string in;
    std::string lower;
    std::string upper;
};

TEST(CodePageText, CaseFoldingTouchesOnlySingleByteLetters) {
    const FoldCase cases[] = {
        {"AbC-xyZ", "abc-xyz", "ABC-XYZ"},
        {"", "", ""},
        {"[\\]^_`{}", "[\\]^_`{}", "[\\]^_`{}"},
        {kUpperATrail + "A", kUpperATrail + "a", kUpperATrail + "A"},
        {kLowerATrail + "a", kLowerATrail + "a", kLowerATrail + "A"},
        {"x" + kUpperZTrail + kLowerATrail2 + "y", "x" + kUpperZTrail + kLowerATrail2 + "y",
         "X" + kUpperZTrail + kLowerATrail2 + "Y"},
        // A lead byte at the end stands alone.
        {"A\xC8", "a\xC8", "A\xC8"},
        // 0x80 and 0xFF are single-byte: the 'a' after them is a letter.
        {"\x80" "a\xFF" "a", "\x80" "a\xFF" "a", "\x80" "A\xFF" "A"},
    };
    for (const FoldCase& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(text::ToLower(c.in), c.lower);
        EXPECT_EQ(text::ToUpper(c.in), c.upper);
    }
}

struct CompareCase {
    std::string a;
    std::string b;
    int order;
};

TEST(CodePageText, CompareNoCaseFoldsAsciiAndComparesDoubleBytesExactly) {
    const CompareCase cases[] = {
        {"abc", "ABC", 0},
        {"Software\\Classes", "SOFTWARE\\classes", 0},
        {"a", "b", -1},
        {"B", "a", 1},
        {"ab", "abc", -1},
        {"", "", 0},
        {"", "a", -1},
        // Upper-case folding: '_' (5F) sorts after letters.
        {"_", "a", 1},
        {"Zed", "_b", -1},
        {kUpperATrail, kLowerATrail, -1},
        {kLowerATrail, kUpperATrail, 1},
        {kZhong + "x", kZhong + "X", 0},
        {kZhong, kWen, 1},
        {"a", kZhong, -1},
    };
    for (const CompareCase& c : cases) {
        SCOPED_TRACE(c.a + " vs " + c.b);
        EXPECT_EQ(text::CompareNoCase(c.a, c.b), c.order);
        EXPECT_EQ(text::CompareNoCase(c.b, c.a), -c.order);
        EXPECT_EQ(text::EqualsNoCase(c.a, c.b), c.order == 0);
    }
}

struct AffixCase {
    std::string text;
    std::string affix;
    bool expected;
};

TEST(CodePageText, StartsWithNoCaseEndsOnACharacterBoundary) {
    const AffixCase cases[] = {
        {"HKEY_Local", "hkey_", true},
        {"abc", "", true},
        {"ab", "abc", false},
        {"ABC", "abc", true},  // the whole text is a prefix of itself
        {kZhong + kWen, kZhong, true},
        {kUpperATrail + "x", kLowerATrail, false},
        // A lone lead byte does not match half of a character.
        {kUpperATrail, "\xC8", false},
    };
    for (const AffixCase& c : cases) {
        SCOPED_TRACE(c.text + " / " + c.affix);
        EXPECT_EQ(text::StartsWithNoCase(c.text, c.affix), c.expected);
    }
}

TEST(CodePageText, EndsWithNoCaseMatchesOnlyWholeCharacters) {
    const AffixCase cases[] = {
        {"notepad.EXE", ".exe", true},
        {"Notepad.exe", "NOTEPAD.EXE", true},
        {"abc", "", true},
        {"c", "abc", false},
        {"x" + kWen, kWen, true},
        // The 'A' is the second byte of 華, not a letter of its own.
        {kUpperATrail, "A", false},
        {kUpperATrail, "a", false},
        {kBackslashTrail, "\\", false},
        {kZhong + "\\", "\\", true},
        {"a" + kBackslashTrail, "\x5C", false},
        // D6 D0 5C reads as 中 then '\': its last two bytes are not 衆.
        {"\xD6" + kBackslashTrail, kBackslashTrail, false},
        {"\xD6" + kBackslashTrail, "\\", true},
    };
    for (const AffixCase& c : cases) {
        SCOPED_TRACE(c.text + " / " + c.affix);
        EXPECT_EQ(text::EndsWithNoCase(c.text, c.affix), c.expected);
    }
}

struct FindCase {
    std::string hay;
    std::string needle;
    std::size_t from;
    std::size_t expected;
};

TEST(CodePageText, FindNoCaseStartsAndEndsOnCharacterBoundaries) {
    const FindCase cases[] = {
        {"Hello World", "WORLD", 0, 6},
        {"abcabc", "ABC", 1, 3},
        {"abc", "x", 0, text::npos},
        {"abc", "", 1, 1},
        {"abc", "", 4, text::npos},
        {"abc", "a", 9, text::npos},
        // "A\" inside 華衆 (C8 41 D0 5C) spans two characters' trail and lead
        // bytes: no match.
        {kUpperATrail + kBackslashTrail, "A", 0, text::npos},
        {kUpperATrail + "A", "a", 0, 2},
        {kUpperATrail + kBackslashTrail, kBackslashTrail, 0, 2},
        // Searching from the middle of 華 starts at the next character.
        {kUpperATrail + "A", "a", 1, 2},
        // "\xC8" must not match the lead byte of 華.
        {kUpperATrail + "\xC8", "\xC8", 0, 2},
        {"x" + kZhong + kWen, kZhong + kWen, 0, 1},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.hay + " / " + c.needle);
        EXPECT_EQ(text::FindNoCase(c.hay, c.needle, c.from), c.expected);
    }
}

TEST(CodePageText, FindCharNeverMatchesATrailByte) {
    const FindCase cases[] = {
        {"a\\b\\c", "\\", 0, 1},
        {"a\\b\\c", "\\", 2, 3},
        {kBackslashTrail, "\\", 0, text::npos},
        {kBackslashTrail + "\\", "\\", 0, 2},
        {kBackslashTrail2 + kBackslashTrail + "x\\y", "\\", 0, 5},
        {kUpperATrail + "A", "A", 0, 2},
        {"abc", "a", 5, text::npos},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.hay);
        EXPECT_EQ(text::FindChar(c.hay, c.needle[0], c.from), c.expected);
    }
}

TEST(CodePageText, FindLastCharNeverMatchesATrailByte) {
    const FindCase cases[] = {
        {"Software\\Microsoft\\Run", "\\", 0, 18},
        {"noslash", "\\", 0, text::npos},
        {"dir\\" + kBackslashTrail, "\\", 0, 3},
        {"dir\\" + kBackslashTrail2 + kBackslashTrail, "\\", 0, 3},
        {kZhong + "\\" + kBackslashTrail, "\\", 0, 2},
        {"", "\\", 0, text::npos},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.hay);
        EXPECT_EQ(text::FindLastChar(c.hay, c.needle[0]), c.expected);
    }
}

}  // namespace
