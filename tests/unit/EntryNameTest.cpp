// An entry's one name: what it acts on and what it shows, through CP936.
#include <gtest/gtest.h>

#include "platform/EntryName.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

TEST(EntryName, ActsOnTheStoredFormAndShowsTheCodePagesText) {
    const testing::FakePlatform::Codec codec;
    struct Case {
        const char* label;
        EntryName name;
        std::string shown;
        std::u16string exact;
        std::u16string stored;
        bool nul;
    };
    const std::u16string hangul = u"\uD55C\uAE00";
    const Case cases[] = {
        {"stored in another script", EntryName::Of(hangul, codec), "??", hangul, hangul, false},
        {"stored in the code page", EntryName::Of(u"\u4E2D\u6587.exe", codec), "\xD6\xD0\xCE\xC4.exe",
         u"\u4E2D\u6587.exe", u"\u4E2D\u6587.exe", false},
        // Read back from the list: "??" is that text, not the name it stood for.
        {"code page's text only", EntryName("??"), "??", u"??", u"", false},
        {"code page's text only, Chinese", EntryName(std::string("\xD6\xD0")), "\xD6\xD0", u"\u4E2D", u"",
         false},
        {"both given", EntryName("Tool", u"T\u00F6ol"), "Tool", u"T\u00F6ol", u"T\u00F6ol", false},
        {"none", EntryName(), "", u"", u"", false},
        {"a NUL in the text", EntryName(std::string("a\0b", 3)), std::string("a\0b", 3),
         std::u16string(u"a\0b", 3), u"", true},
        {"a NUL in the stored form only", EntryName("ab", std::u16string(u"a\0b", 3)), "ab",
         std::u16string(u"a\0b", 3), std::u16string(u"a\0b", 3), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.name.Shown(), c.shown) << c.label;
        EXPECT_EQ(c.name.Exact(codec), c.exact) << c.label;
        EXPECT_EQ(c.name.Stored(), c.stored) << c.label;
        EXPECT_EQ(c.name.HasNul(), c.nul) << c.label;
    }
}

}  // namespace
}  // namespace tv
