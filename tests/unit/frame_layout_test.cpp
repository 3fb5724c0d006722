// Frame layout arithmetic: the worked 800x600 frame, the small and odd client sizes, and the rows
// a changed frame redraws.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "display/frame_layout.h"

namespace {

// Per client height: the cell heights of the fonts (dates, heading, day count, clock), then the
// top of each line.
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
    const FrameFont fonts[] = {FrameFont::Dates, FrameFont::Heading, FrameFont::DayCount, FrameFont::Clock};
    for (const auto& c : cases) {
        for (int f = 0; f < 4; ++f)
            EXPECT_EQ(FrameFontHeight(fonts[f], c.cy), c.font[f]) << "height " << c.cy << " font " << f;
        // The width plays no part in the tops.
        for (int i = 0; i < kFrameLineCount; ++i)
            for (const int cx : {100, 800})
                EXPECT_EQ(PlaceFrameLine(kFrameRows[i].line, cx, c.cy, 100).y, c.y[i])
                    << "height " << c.cy << " line " << i;
    }
    EXPECT_FALSE(FrameFontItalic(FrameFont::Dates));
    EXPECT_TRUE(FrameFontItalic(FrameFont::Heading) && FrameFontItalic(FrameFont::DayCount) &&
                FrameFontItalic(FrameFont::Clock));
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
}

// Which rows a frame redraws: each changed line's rows, joined where they overlap or touch, cut
// to the client area, top to bottom; an unchanged line's rows only where they meet a changed one.
TEST(FrameLayoutTest, OnlyTheRowsOfChangedLinesAreRedrawn) {
    // Rows of Today, Start, Due, Title, Subject, DayLine, Clock.
    const RowSpan apart[kFrameLineCount] = {{10, 20}, {30, 40},   {40, 50},  {60, 70},
                                            {80, 90}, {100, 130}, {120, 180}};
    using Spans = std::vector<std::pair<int, int>>;
    const struct {
        const char* name;
        bool changed[kFrameLineCount];
        int cy;
        Spans expected;
    } cases[] = {
        {"nothing", {}, 200, {}},
        {"a second", {true, false, false, false, false, false, true}, 200, {{10, 20}, {120, 180}}},
        {"a day: overlapping lines join",
         {true, false, false, false, false, true, true},
         200,
         {{10, 20}, {100, 180}}},
        {"touching lines join", {false, true, true, false, false, false, false}, 200, {{30, 50}}},
        {"the title alone", {false, false, false, true, false, false, false}, 200, {{60, 70}}},
        {"all",
         {true, true, true, true, true, true, true},
         200,
         {{10, 20}, {30, 50}, {60, 70}, {80, 90}, {100, 180}}},
        {"cut at the bottom", {false, false, false, false, false, false, true}, 150, {{120, 150}}},
        {"below the client area", {false, false, false, false, true, false, false}, 80, {}},
    };
    for (const auto& c : cases) {
        Spans got;
        for (const RowSpan& span : FrameSpansToRedraw(apart, c.changed, c.cy))
            got.emplace_back(span.top, span.bottom);
        EXPECT_EQ(got, c.expected) << c.name;
    }
    // Rows above the top are cut too, and a span met twice is one span.
    const RowSpan high[kFrameLineCount] = {{-3, 5}, {-3, 5}, {-3, 5}, {0, 0}, {0, 0}, {0, 0}, {0, 0}};
    const bool dates[kFrameLineCount] = {true, true, false, false, false, false, false};
    const std::vector<RowSpan> spans = FrameSpansToRedraw(high, dates, 100);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0].top, 0);
    EXPECT_EQ(spans[0].bottom, 5);
}

} // namespace
