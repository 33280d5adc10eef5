// The ANSI codec both builds use: code page 936 on one side, UTF-16 on the
// other.
#include <gtest/gtest.h>

#include "tests/contract/RegistryUnderTest.h"

namespace {

// "中文注册表" in CP936 and in UTF-16.
const std::string kAnsi = "\xD6\xD0\xCE\xC4\xD7\xA2\xB2\xE1\xB1\xED";
const std::u16string kWide = {0x4E2D, 0x6587, 0x6CE8, 0x518C, 0x8868};

TEST(TextCodecContract, ConvertsChineseBothWays) {
    const auto codec = MakeCodecUnderTest();
    EXPECT_EQ(codec->WideToAnsi(kWide), kAnsi);
    EXPECT_EQ(codec->AnsiToWide(kAnsi), kWide);
}

TEST(TextCodecContract, KeepsAsciiAndEmbeddedNuls) {
    const auto codec = MakeCodecUnderTest();
    const std::string ansi("a\\b\0c", 5);
    const std::u16string wide(u"a\\b\0c", 5);
    EXPECT_EQ(codec->WideToAnsi(wide), ansi);
    EXPECT_EQ(codec->AnsiToWide(ansi), wide);
    EXPECT_EQ(codec->WideToAnsi(u""), "");
    EXPECT_EQ(codec->AnsiToWide(""), u"");
}

TEST(TextCodecContract, TrailByteBackslashStaysInsideItsCharacter) {
    const auto codec = MakeCodecUnderTest();
    // 衆 U+8846 is D0 5C: its second byte is '\'.
    EXPECT_EQ(codec->AnsiToWide("\xD0\x5C" "a"), std::u16string(u"\u8846a"));
    EXPECT_EQ(codec->WideToAnsi(u"\u8846a"), "\xD0\x5C" "a");
}

TEST(TextCodecContract, UnmappableCharacterBecomesQuestionMark) {
    const auto codec = MakeCodecUnderTest();
    // U+0E01 (Thai) has no CP936 form.
    EXPECT_EQ(codec->WideToAnsi(u"x\u0E01y"), "x?y");
}

}  // namespace
