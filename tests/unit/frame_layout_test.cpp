// Frame layout arithmetic: the worked 800x600 frame and the small and odd client sizes.
#include <gtest/gtest.h>

#include "display/frame_layout.h"

namespace {

const FrameLine kLines[kFrameLineCount] = {FrameLine::Today, FrameLine::Start,   FrameLine::Due,
                                           FrameLine::Title, FrameLine::Subject, FrameLine::DayLine,
                                           FrameLine::Clock};

TEST(FrameLayoutTest, FontHeightsFollowTheClientHeightOnly) {
    const struct {
        int cy;
        int a, b, c, d;
    } cases[] = {{600, 12, 30, 60, 150}, {149, 2, 7, 14, 37}, {200, 4, 10, 20, 50},
                 {49, 0, 2, 4, 12},      {0, 0, 0, 0, 0},     {2160, 43, 108, 216, 540}};
    for (const auto& c : cases) {
        EXPECT_EQ(FrameFontHeight(FrameFont::A, c.cy), c.a) << c.cy;
        EXPECT_EQ(FrameFontHeight(FrameFont::B, c.cy), c.b) << c.cy;
        EXPECT_EQ(FrameFontHeight(FrameFont::C, c.cy), c.c) << c.cy;
        EXPECT_EQ(FrameFontHeight(FrameFont::D, c.cy), c.d) << c.cy;
    }
    EXPECT_FALSE(FrameFontItalic(FrameFont::A));
    EXPECT_TRUE(FrameFontItalic(FrameFont::B) && FrameFontItalic(FrameFont::C) &&
                FrameFontItalic(FrameFont::D));
}

TEST(FrameLayoutTest, LineTopsForSeveralHeights) {
    const struct {
        int cy;
        int y[kFrameLineCount];
    } cases[] = {
        {600, {12, 36, 48, 120, 180, 255, 339}},
        {149, {2, 6, 8, 29, 44, 63, 84}},
        {200, {4, 12, 16, 40, 60, 85, 113}},
        {40, {0, 0, 0, 8, 12, 17, 22}},
        {0, {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        for (int i = 0; i < kFrameLineCount; ++i)
            EXPECT_EQ(PlaceFrameLine(kLines[i], 800, c.cy, 100).y, c.y[i])
                << "height " << c.cy << " line " << i;
}

TEST(FrameLayoutTest, RightAlignedAndCentredColumns) {
    for (const FrameLine line : {FrameLine::Today, FrameLine::Start, FrameLine::Due}) {
        EXPECT_EQ(PlaceFrameLine(line, 800, 600, 238).x, 800 - 238);
        EXPECT_EQ(PlaceFrameLine(line, 100, 600, 238).x, -138); // cut at the left edge
    }
    for (const FrameLine line :
         {FrameLine::Title, FrameLine::Subject, FrameLine::DayLine, FrameLine::Clock}) {
        EXPECT_EQ(PlaceFrameLine(line, 800, 600, 301).x, 249);
        EXPECT_EQ(PlaceFrameLine(line, 100, 600, 103).x, -1); // -3 / 2 truncates toward zero
        EXPECT_EQ(PlaceFrameLine(line, 0, 0, 0).x, 0);
    }
    EXPECT_EQ(FrameLineFont(FrameLine::Due), FrameFont::A);
    EXPECT_EQ(FrameLineFont(FrameLine::Subject), FrameFont::B);
    EXPECT_EQ(FrameLineFont(FrameLine::DayLine), FrameFont::C);
    EXPECT_EQ(FrameLineFont(FrameLine::Clock), FrameFont::D);
}

} // namespace
