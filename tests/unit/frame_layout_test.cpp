// Frame layout arithmetic: the worked 800x600 frame and the small and odd client sizes.
#include <gtest/gtest.h>

#include "display/frame_layout.h"

namespace {

const FrameLine kLines[kFrameLineCount] = {FrameLine::Today, FrameLine::Start,   FrameLine::Due,
                                           FrameLine::Title, FrameLine::Subject, FrameLine::DayLine,
                                           FrameLine::Clock};

// Per client height: the cell heights of fonts A to D, then the top of each line.
TEST(FrameLayoutTest, FontHeightsAndLineTopsFollowTheClientHeightOnly) {
    const struct {
        int cy;
        int font[4];
        int y[kFrameLineCount];
    } cases[] = {
        {600, {12, 30, 60, 150}, {12, 36, 48, 120, 180, 255, 339}},
        {149, {2, 7, 14, 37}, {2, 6, 8, 29, 44, 63, 84}},
        {200, {4, 10, 20, 50}, {4, 12, 16, 40, 60, 85, 113}},
        {49, {0, 2, 4, 12}, {0, 0, 0, 9, 14, 20, 27}},
        {40, {0, 2, 4, 10}, {0, 0, 0, 8, 12, 17, 22}},
        {0, {0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}},
        {2160, {43, 108, 216, 540}, {43, 129, 172, 432, 648, 918, 1220}},
    };
    const FrameFont fonts[] = {FrameFont::A, FrameFont::B, FrameFont::C, FrameFont::D};
    for (const auto& c : cases) {
        for (int f = 0; f < 4; ++f)
            EXPECT_EQ(FrameFontHeight(fonts[f], c.cy), c.font[f]) << "height " << c.cy << " font " << f;
        // The width plays no part in the tops.
        for (int i = 0; i < kFrameLineCount; ++i)
            for (const int cx : {100, 800})
                EXPECT_EQ(PlaceFrameLine(kLines[i], cx, c.cy, 100).y, c.y[i])
                    << "height " << c.cy << " line " << i;
    }
    EXPECT_FALSE(FrameFontItalic(FrameFont::A));
    EXPECT_TRUE(FrameFontItalic(FrameFont::B) && FrameFontItalic(FrameFont::C) &&
                FrameFontItalic(FrameFont::D));
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
