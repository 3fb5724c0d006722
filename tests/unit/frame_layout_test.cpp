// Frame layout arithmetic, the worked 800x600 frame and the small and odd client sizes, the
// areas a changed frame redraws, and the texts a frame is composed of.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "display/frame_content.h"
#include "display/frame_layout.h"
#include "time_zone.h"

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

// Which areas a frame redraws: each changed line's area, joined with those it overlaps or touches
// into the area holding both, cut to the client area, top to bottom; an unchanged line's area
// only where it meets a changed one.
TEST(FrameLayoutTest, OnlyTheAreasOfChangedLinesAreRedrawn) {
    // Areas of Today, Start, Due, Title, Subject, DayLine, Clock.
    const FrameArea ink[kFrameLineCount] = {{150, 10, 200, 20}, {150, 30, 200, 40}, {150, 40, 200, 50},
                                            {60, 60, 140, 70},  {60, 80, 140, 90},  {80, 100, 120, 130},
                                            {50, 120, 150, 180}};
    using Areas = std::vector<std::array<int, 4>>;
    const struct {
        const char* name;
        bool changed[kFrameLineCount];
        int cx, cy;
        Areas expected;
    } cases[] = {
        {"nothing", {}, 200, 200, {}},
        {"a second",
         {true, false, false, false, false, false, true},
         200,
         200,
         {{150, 10, 200, 20}, {50, 120, 150, 180}}},
        {"a day: overlapping lines join",
         {true, false, false, false, false, true, true},
         200,
         200,
         {{150, 10, 200, 20}, {50, 100, 150, 180}}},
        {"touching lines join",
         {false, true, true, false, false, false, false},
         200,
         200,
         {{150, 30, 200, 50}}},
        {"the title alone", {false, false, false, true, false, false, false}, 200, 200, {{60, 60, 140, 70}}},
        {"all",
         {true, true, true, true, true, true, true},
         200,
         200,
         {{150, 10, 200, 20}, {150, 30, 200, 50}, {60, 60, 140, 70}, {60, 80, 140, 90}, {50, 100, 150, 180}}},
        {"cut at the edges",
         {false, false, false, false, false, false, true},
         120,
         150,
         {{50, 120, 120, 150}}},
        {"outside the client area", {false, false, false, false, true, false, false}, 200, 80, {}},
    };
    for (const auto& c : cases) {
        Areas got;
        for (const FrameArea& area : FrameAreasToRedraw(ink, c.changed, c.cx, c.cy))
            got.push_back({area.left, area.top, area.right, area.bottom});
        EXPECT_EQ(got, c.expected) << c.name;
    }
    // A join can make an area meet one it did not meet before: joined until none do. Areas
    // above or left of the client area are cut, and an empty area (an empty text) adds nothing.
    const FrameArea chain[kFrameLineCount] = {
        {0, 0, 10, 10}, {0, 28, 4, 40}, {8, 0, 12, 30}, {-5, -5, 3, 3}, {40, 0, 40, 50}, {}, {}};
    const bool all[kFrameLineCount] = {true, true, true, true, true, true, true};
    Areas got;
    for (const FrameArea& area : FrameAreasToRedraw(chain, all, 100, 100))
        got.push_back({area.left, area.top, area.right, area.bottom});
    EXPECT_EQ(got, (Areas{{0, 0, 12, 40}}));
    EXPECT_TRUE(Union(FrameArea{}, FrameArea{1, 2, 3, 4}).right == 3 &&
                Union(FrameArea{1, 2, 3, 4}, {}).top == 2);
    EXPECT_FALSE(Overlap({0, 0, 10, 10}, {10, 0, 20, 10}));
    EXPECT_TRUE(Overlap({0, 0, 10, 10}, {9, 9, 20, 20}));
}

// Each row: the settings, one moment and a size, and the seven texts in drawing order.
TEST(ComposeFrameTest, TheTextsOfTheSettingsAtOneMoment) {
    const ScopedTimeZone zone("JST-9");
    const FrameSettings settings{CTime(2026, 12, 1, 9, 0, 0), CTime(2027, 3, 31, 18, 30, 0), "納期", "件名"};
    FrameSettings undated = settings;
    undated.m_timeTo = CTime(-1);
    undated.m_strTitle = "";
    const struct {
        const char* name;
        const FrameSettings& settings;
        CTime now;
        int cx, cy;
        const char* lines[kFrameLineCount];
    } cases[] = {
        {"a second before the due time",
         settings,
         CTime(2027, 3, 31, 18, 29, 59),
         800,
         600,
         {"Today  : 2027/03/31 18:29:59 (Wed)", "開始日 : 2026/12/01 09:00:00 (Tue)",
          "終了日 : 2027/03/31 18:30:00 (Wed)", "納期", "件名", "残り 0 日と", "00:00:01"}},
        {"days ahead, a tall narrow area",
         settings,
         CTime(2027, 3, 28, 6, 15, 0),
         90,
         1600,
         {"Today  : 2027/03/28 06:15:00 (Sun)", "開始日 : 2026/12/01 09:00:00 (Tue)",
          "終了日 : 2027/03/31 18:30:00 (Wed)", "納期", "件名", "残り 3 日と", "12:15:00"}},
        {"no due date, no title",
         undated,
         CTime(1970, 1, 1, 9, 0, 5),
         0,
         0,
         {"Today  : 1970/01/01 09:00:05 (Thu)", "開始日 : 2026/12/01 09:00:00 (Tue)", "", "", "件名",
          "期限オーバー 0 日と", "00:00:06"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FrameContent frame = ComposeFrame(c.settings, c.now, c.cx, c.cy);
        EXPECT_EQ(frame.cx, c.cx);
        EXPECT_EQ(frame.cy, c.cy);
        for (int i = 0; i < kFrameLineCount; ++i)
            EXPECT_EQ(std::string(frame.Line(kFrameRows[i].line)), c.lines[i]) << "line " << i;
    }
}

} // namespace
