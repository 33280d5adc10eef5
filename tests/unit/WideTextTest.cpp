#include <gtest/gtest.h>

#include <string>

#include "platform/WideText.h"

namespace tv {
namespace {

// Names compare as the system compares them: only ASCII letters fold, at
// both ends of the alphabet; other units, Hangul or accented, stay apart.
TEST(WideText, NamesCompareWithoutRegardToAsciiCase) {
    struct Case {
        std::u16string a, b;
        bool equal, aStartsWithB;
    } cases[] = {
        {u"AZaz", u"azAZ", true, true},
        {u"@[`{", u"`{@[", false, false},  // the neighbours of the letters
        {u"\u00E9", u"\u00C9", false, false},
        {u"\uCE74\uCE74", u"\uCE74\uCE74", true, true},
        {u"Startup\\x.exe", u"STARTUP", false, true},
        {u"Start", u"STARTUP", false, false},
        {u"", u"", true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf16::EqualsNoCase(c.a, c.b), c.equal) << std::string(c.a.begin(), c.a.end());
        EXPECT_EQ(utf16::StartsWithNoCase(c.a, c.b), c.aStartsWithB) << std::string(c.a.begin(), c.a.end());
        EXPECT_EQ(utf16::FoldAscii(c.a) == utf16::FoldAscii(c.b), c.equal)
            << std::string(c.a.begin(), c.a.end());
    }
}

TEST(WideText, BytesAreLittleEndianAndAnOddByteIsLeftOut) {
    EXPECT_EQ(utf16::ToBytes(u"A\uCE74"), std::string("A\0\x74\xCE", 4));
    EXPECT_EQ(utf16::FromBytes(std::string("A\0\x74\xCE\x42", 5)), u"A\uCE74");
}

}  // namespace
}  // namespace tv
