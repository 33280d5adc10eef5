// The arithmetic that makes the window grow as one picture away from 96 dpi,
// and the artwork sets it picks from.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "platform/ui/DpiScale.h"
#include "res/resource.h"

namespace tv {
namespace {

TEST(DpiScale, RoundsToTheNearestPixelHalvesAwayFromZero) {
    struct Case {
        int pixels96, dpi, scaled;
    } cases[] = {
        {780, 120, 975}, {567, 120, 709},  // the main window: 708.75
        {780, 144, 1170}, {567, 144, 851}, // 850.5
        {65, 120, 81},   {60, 120, 75},   {65, 144, 98},  // a section button: 97.5
        {2, 120, 3},     {1, 120, 1},     {5, 144, 8},    // corners: 2.5, 1.25, 7.5
        {-3, 120, -4},   {555, 96, 555},  {50, 168, 88},  // 87.5
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleToDpi(c.pixels96, c.dpi), c.scaled) << c.pixels96 << " at " << c.dpi;
}

TEST(DpiScale, EveryScaledFigureLeadsBackToItsOwn) {
    for (int dpi : {96, 100, 120, 125, 144, 168, 192, 240})
        for (int pixels96 = -50; pixels96 <= 1500; ++pixels96)
            ASSERT_EQ(UnscaleFromDpi(ScaleToDpi(pixels96, dpi), dpi), pixels96)
                << pixels96 << " at " << dpi;
}

TEST(DpiScale, PartsThatTouchAt96DpiStillTouchWithoutGapOrOverlap) {
    // A band cut into parts of every width from 1 to 40 pixels, side by side
    // and one above the other.
    for (int dpi : {110, 120, 144, 150, 168, 192}) {
        int at = 3;
        Rect previous = ScaleEdges({0, 0, at, at}, dpi);
        for (int width = 1; width <= 40; ++width) {
            const Rect part = ScaleEdges({at, at, at + width, at + width}, dpi);
            ASSERT_EQ(part.left, previous.right) << width << " at " << dpi;
            ASSERT_EQ(part.top, previous.bottom) << width << " at " << dpi;
            ASSERT_GT(part.Width(), 0);
            previous = part;
            at += width;
        }
        EXPECT_EQ(previous.right, ScaleToDpi(at, dpi));
    }
}

TEST(DpiScale, AnImageControlIsExactlyItsScaledPicture) {
    // Scaled by its edges a control can come out a pixel larger than its
    // picture scaled (1 x 1 at 13, 13: edges 16..18); scaled by its size
    // it never does.
    struct Case {
        Rect rect96;
        int dpi;
        Rect sized, edges;
    } cases[] = {
        {{13, 13, 14, 14}, 120, {16, 16, 17, 17}, {16, 16, 18, 18}},
        {{7, 7, 50, 38}, 120, {9, 9, 63, 48}, {9, 9, 63, 48}},
        {{12, 26, 77, 86}, 144, {18, 39, 116, 129}, {18, 39, 116, 129}},
        {{10, 110, 60, 160}, 132, {14, 151, 83, 220}, {14, 151, 83, 220}},
        {{3, 3, 40, 40}, 120, {4, 4, 50, 50}, {4, 4, 50, 50}},
        {{1, 1, 24, 24}, 120, {1, 1, 30, 30}, {1, 1, 30, 30}},
        {{2, 2, 25, 25}, 120, {3, 3, 32, 32}, {3, 3, 31, 31}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleSized(c.rect96, c.dpi), c.sized) << c.rect96.left << " at " << c.dpi;
        EXPECT_EQ(ScaleEdges(c.rect96, c.dpi), c.edges) << c.rect96.left << " at " << c.dpi;
    }
}

TEST(DpiScale, DialogUnitsBecomeThe96DpiPixelsOfTheTemplateFont) {
    // Template 102 is 520 x 378 units: 780 x 567 pixels; a section button
    // at 8, 17 of 43 x 40 units is 65 x 60 at 12, 26 (25.5 rounded up).
    EXPECT_EQ(DialogUnitsAt96(0, 0, 520, 378), (Rect{0, 0, 780, 567}));
    EXPECT_EQ(DialogUnitsAt96(8, 17, 43, 40), (Rect{12, 26, 77, 86}));
    // The content frame 7, 83, 508 x 275: 11, 125 (124.5), 762 x 413 (412.5).
    EXPECT_EQ(DialogUnitsAt96(7, 83, 508, 275), (Rect{11, 125, 773, 538}));
}

TEST(DpiScale, PicksTheNearestArtworkSet) {
    struct Case {
        int dpi, set, offset;
    } cases[] = {{72, 96, 0},     {96, 96, 0},    {107, 96, 0},   {108, 120, IDR_ART_125_OFFSET},
                 {120, 120, IDR_ART_125_OFFSET},  {131, 120, IDR_ART_125_OFFSET},
                 {132, 144, IDR_ART_150_OFFSET},  {144, 144, IDR_ART_150_OFFSET},
                 {192, 144, IDR_ART_150_OFFSET}};
    for (const Case& c : cases) {
        EXPECT_EQ(NearestArtDpi(c.dpi), c.set) << c.dpi;
        EXPECT_EQ(ArtResourceId(187, NearestArtDpi(c.dpi)), 187 + c.offset) << c.dpi;
    }
}

// Width and height of a BMP file in the source tree; 0 x 0 when unreadable.
std::pair<int, int> BmpSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char header[26] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof(header))) return {0, 0};
    auto dword = [&](int at) {
        return static_cast<std::int32_t>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 |
                                         static_cast<std::uint32_t>(header[at + 3]) << 24);
    };
    int height = dword(22);
    return {dword(18), height < 0 ? -height : height};
}

TEST(DpiScale, TheDrawnSetsHaveTheSizesTheProgramScalesTo) {
    // The artwork script and the program must round alike, or a drawn set
    // would be resized again (and blurred) at exactly its own resolution.
    const std::string root = TV_SOURCE_DIR;
    for (int id : {186, 187, 209, 218, 220, 223, 225, 226, 227, 181}) {
        const auto size96 = BmpSize(root + "/res/bitmaps/" + std::to_string(id) + ".bmp");
        ASSERT_GT(size96.first, 0) << id;
        for (auto [folder, dpi] : {std::pair<const char*, int>{"125", 120}, {"150", 144}}) {
            const auto size = BmpSize(root + "/res/bitmaps/" + folder + "/" + std::to_string(id) + ".bmp");
            EXPECT_EQ(size.first, ScaleToDpi(size96.first, dpi)) << id << " at " << dpi;
            EXPECT_EQ(size.second, ScaleToDpi(size96.second, dpi)) << id << " at " << dpi;
        }
    }
}

}  // namespace
}  // namespace tv
