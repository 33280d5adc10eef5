// Replacing and cutting code page 936 text without splitting characters.
#include <gtest/gtest.h>

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

TEST(CodePageText, CutToBytesKeepsWholeCharacters) {
    EXPECT_EQ(text::CutToBytes("abcdef", 3), "abc");
    EXPECT_EQ(text::CutToBytes("ab\xD6\xD0", 3), "ab");
    EXPECT_EQ(text::CutToBytes("ab\xD6\xD0", 4), "ab\xD6\xD0");
    EXPECT_EQ(text::CutToBytes("ab", 10), "ab");
    EXPECT_EQ(text::CutToBytes("\xD6\xD0", 0), "");
    EXPECT_EQ(text::CutToBytes("a\xD6", 2), "a\xD6");  // a lone lead byte at the end
}

}  // namespace
