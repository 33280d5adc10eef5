// Replacing and cutting code page 936 text without splitting characters.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "platform/CodePageText.h"

namespace {

namespace text = tv::text;

TEST(CodePageText, ReplaceAllMatchesWholeCharactersOnly) {
    struct Case {
        std::string in, from, to, out;
    } cases[] = {
        {"Secondary X", "Secondary", "", " X"},
        {"aXbXc", "X", "--", "a--b--c"},
        {"XX", "X", "XX", "XXXX"},               // no rescan of what was put in
        {"\xB0Secondary", "Secondary", "", "\xB0Secondary"},  // 'S' is a trail byte
        {"\xD6\xD0Secondary", "Secondary", "", "\xD6\xD0"},
        {"abc\xC8\x41", "c\xC8", "", "abc\xC8\x41"},  // match would end inside a character
        {"secondary", "Secondary", "", "secondary"},  // case matters
        {"", "x", "y", ""},
        {"abc", "", "y", "abc"},
    };
    for (const Case& c : cases) EXPECT_EQ(text::ReplaceAll(c.in, c.from, c.to), c.out) << c.in;
}

// Every helper takes time in proportion to its texts: each of these takes a
// few milliseconds, where searching again from the start for every match
// (or every separator) takes several seconds.
TEST(CodePageText, LongTextsTakeLinearTime) {
    std::string rundll;
    while (rundll.size() < 512 * 1024) rundll += "rundll32.exe ";
    std::string zhong;  // 中 (D6 D0: both bytes could lead a character)
    while (zhong.size() < 256 * 1024) zhong += "\xD6\xD0";
    std::string path;
    while (path.size() < 128 * 1024) path += "a\\";
    const std::string letters(512 * 1024, 'a');
    const std::string nearly = std::string(16384, 'A') + "b";
    struct Case {
        const char* label;
        std::function<bool()> holds;
    } cases[] = {
        {"every rundll32.exe removed", [&] { return text::ReplaceAll(rundll, "rundll32.exe ", "").empty(); }},
        {"every double-byte character replaced",
         [&] { return text::ReplaceAll(zhong, "\xD6\xD0", "x") == std::string(zhong.size() / 2, 'x'); }},
        {"separator after separator",
         [&] {
             std::size_t parts = 0;
             for (std::size_t at = text::FindChar(path, '\\'); at != text::npos;
                  at = text::FindChar(path, '\\', at + 1))
                 ++parts;
             return parts == path.size() / 2;
         }},
        {"a long needle that nearly matches everywhere",
         [&] { return text::FindNoCase(letters, nearly) == text::npos && text::Find(letters, nearly) == text::npos; }},
    };
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(c.holds()) << c.label;
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 1000) << c.label;
    }
}

TEST(CodePageText, CutToCharsCountsDoubleByteCharactersAsOne) {
    EXPECT_EQ(text::CutToChars("abcdef", 3), "abc");
    EXPECT_EQ(text::CutToChars("a\xD6\xD0" "b", 2), "a\xD6\xD0");
    EXPECT_EQ(text::CutToChars("a\xD6\xD0" "b", 1), "a");
    EXPECT_EQ(text::CutToChars("ab", 10), "ab");
    EXPECT_EQ(text::CutToChars("\xD6\xD0", 0), "");
    EXPECT_EQ(text::CutToChars("a\xD6", 2), "a\xD6");  // a lone lead byte at the end
}

TEST(CodePageText, CutToBytesKeepsWholeCharacters) {
    EXPECT_EQ(text::CutToBytes("abcdef", 3), "abc");
    EXPECT_EQ(text::CutToBytes("ab\xD6\xD0", 3), "ab");
    EXPECT_EQ(text::CutToBytes("ab\xD6\xD0", 4), "ab\xD6\xD0");
    EXPECT_EQ(text::CutToBytes("ab", 10), "ab");
    EXPECT_EQ(text::CutToBytes("\xD6\xD0", 0), "");
    EXPECT_EQ(text::CutToBytes("a\xD6", 2), "a\xD6");  // a lone lead byte at the end
}

}  // namespace
