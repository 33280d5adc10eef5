#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/PageLayout.h"
#include "app/Sections.h"
#include "app/VersionNotice.h"
#include "platform/BuildSettings.h"
#include "platform/ExecutableName.h"

namespace tv {
namespace {

TEST(VersionNotice, FiresOnlyAfterFebruaryOfYearsAfter2009) {
    struct Case {
        LocalDate date;
        bool due;
    } cases[] = {
        {{2009, 12, 31}, false}, {{2010, 2, 28}, false}, {{2010, 3, 1}, true},
        {{2011, 1, 15}, false},  {{2011, 3, 1}, true},   {{2009, 3, 1}, false},
        {{2010, 2, 1}, false},   {{2026, 12, 8}, true},  {{2026, 1, 31}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsVersionNoticeDue(c.date), c.due)
            << c.date.year << "-" << c.date.month << "-" << c.date.day;
    }
}

TEST(VersionNotice, HomePageIsTheSiteWithTrailingSlash) {
    EXPECT_EQ(HomePageAddress(), std::string("http://") + TV_SITE_HOST + "/");
    EXPECT_STREQ(kNoticeText, "\xCE\xD2\xC3\xC7\xCD\xC6\xBC\xF6\xC4\xFA\xB8\xFC\xD0\xC2\xD0\xC2"
                              "\xB0\xE6\xB1\xBE\xC7\xEB\xB7\xC3\xCE\xCA");  // CP936 bytes
    EXPECT_STREQ(kNoticeCaption, "Trimvex");
}

TEST(Sections, ButtonsPagesAndBitmaps) {
    struct Row {
        int section, button, page, normal, down, hover;
    } rows[] = {
        {1, 1000, 131, 187, 205, 204}, {2, 1005, 132, 193, 192, 191},
        {3, 1002, 133, 196, 195, 194}, {4, 1001, 134, 190, 189, 188},
        {5, 1003, 135, 207, 208, 200}, {6, 1006, 136, 199, 198, 197},
        {7, 1004, 137, 203, 202, 201},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SectionOfButton(row.button), row.section);
        const SectionEntry& entry = Section(row.section);
        EXPECT_EQ(entry.buttonId, row.button);
        EXPECT_EQ(entry.pageId, row.page);
        EXPECT_EQ(entry.images.normal, row.normal);
        EXPECT_EQ(entry.images.down, row.down);
        EXPECT_EQ(entry.images.hover, row.hover);
    }
    EXPECT_EQ(SectionOfButton(1007), 0);
    EXPECT_EQ(SectionOfButton(1012), 0);
}

TEST(Sections, TabsButtonsPagesAndBitmaps) {
    struct Row {
        int tab, button, page, normal, down, hover;
    } rows[] = {
        {1, 1012, 171, 229, 228, 227}, {2, 1014, 1046, 230, 232, 231},
        {3, 1013, 172, 235, 234, 233}, {4, 1015, 173, 236, 238, 237},
        {5, 1016, 174, 241, 240, 239},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(TabOfButton(row.button), row.tab);
        const SectionEntry& entry = Tab(row.tab);
        EXPECT_EQ(entry.pageId, row.page);
        EXPECT_EQ(entry.images.normal, row.normal);
        EXPECT_EQ(entry.images.down, row.down);
        EXPECT_EQ(entry.images.hover, row.hover);
    }
    EXPECT_EQ(TabOfButton(1045), 0);
}

TEST(Sections, CaptionButtonsAndTooltips) {
    EXPECT_EQ(kCaptionButtons[0].buttonId, 1012);
    EXPECT_EQ(kCaptionButtons[0].images.normal, 213);
    EXPECT_EQ(kCaptionButtons[0].images.down, 212);
    EXPECT_EQ(kCaptionButtons[0].images.hover, 217);
    EXPECT_STREQ(kCaptionButtons[0].tooltip, "\xB9\xD8\xB1\xD5");  // 关闭
    EXPECT_EQ(kCaptionButtons[1].buttonId, 1013);
    EXPECT_EQ(kCaptionButtons[1].images.normal, 211);
    EXPECT_EQ(kCaptionButtons[1].images.down, 210);
    EXPECT_EQ(kCaptionButtons[1].images.hover, 216);
    EXPECT_STREQ(kCaptionButtons[1].tooltip, "\xD7\xEE\xD0\xA1\xBB\xAF");  // 最小化
    EXPECT_EQ(kCaptionButtons[2].buttonId, 1014);
    EXPECT_EQ(kCaptionButtons[2].images.normal, 209);
    EXPECT_EQ(kCaptionButtons[2].images.down, 214);
    EXPECT_EQ(kCaptionButtons[2].images.hover, 215);
    EXPECT_STREQ(kCaptionButtons[2].tooltip, "\xB7\xC3\xCE\xCA" "Trimvex"
                                             "\xB9\xD9\xB7\xBD\xCD\xF8\xD5\xBE");
}

TEST(Sections, EveryBitmapIdIsUsedOnce) {
    std::set<int> ids;
    size_t count = 0;
    auto add = [&](const ButtonImages& images) {
        ids.insert({images.normal, images.down, images.hover});
        count += 3;
    };
    for (const auto& s : kSections) add(s.images);
    for (const auto& t : kTabs) add(t.images);
    for (const auto& c : kCaptionButtons) add(c.images);
    EXPECT_EQ(ids.size(), count);
}

TEST(PageLayout, ContentRectTakesTheFrameWithFixedTopAndTwoPixelInset) {
    struct Case {
        PixelRect frame;
        int top;
        PixelRect expected;
    } cases[] = {
        // The main window's frame at 6 x 12 dialog base units.
        {{10, 124, 772, 536}, kSectionPageTop, {10, 130, 770, 534}},
        // The same frame at 6 x 13 base units.
        {{10, 134, 772, 581}, kSectionPageTop, {10, 130, 770, 579}},
        // The management container's frame.
        {{0, 49, 760, 412}, kSubPageTop, {0, 36, 758, 410}},
    };
    for (const Case& c : cases) {
        PixelRect r = ContentRectFromFrame(c.frame, c.top);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
        EXPECT_EQ(r.Height(), c.expected.bottom - c.top);
    }
}

TEST(ExecutableName, TitleIsFileNameWithoutExtension) {
    struct Case {
        const char* path;
        const char* title;
    } cases[] = {
        {"C:\\Program Files\\Trimvex\\Trimvex.exe", "Trimvex"},
        {"Z:/work/build/tv_window_tests.exe", "tv_window_tests"},
        {"C:\\tools\\my.tool.exe", "my.tool"},
        {"Trimvex", "Trimvex"},
        // 踈 is DB 5C: its trail byte is a backslash, which must not split the name.
        {"C:\\\xDB\x5C\\a\xDB\x5C.exe", "a\xDB\x5C"},
        {"C:\\dir.d\\noext", "noext"},
        // A name that is all extension keeps it.
        {"C:\\dir\\.hidden", ".hidden"},
    };
    for (const Case& c : cases) EXPECT_EQ(ProgramTitleFromPath(c.path), c.title) << c.path;
}

}  // namespace
}  // namespace tv
