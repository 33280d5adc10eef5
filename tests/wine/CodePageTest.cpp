// The Windows-side tests assume Chinese Windows: ANSI code page 936.
#include <windows.h>

#include <gtest/gtest.h>

TEST(CodePage, AnsiCodePageIs936) {
    EXPECT_EQ(GetACP(), 936u);
}

TEST(CodePage, LiteralsAreCompiledToCodePage936) {
    // The compiler turns this UTF-8 source text into CP936 bytes.
    EXPECT_EQ(std::string("中文"), std::string("\xD6\xD0\xCE\xC4"));
    EXPECT_TRUE(IsDBCSLeadByte(0xD6));
    EXPECT_FALSE(IsDBCSLeadByte('A'));
}
