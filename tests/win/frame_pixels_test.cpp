// Rendered frames, pixel by pixel: black everywhere except green and cyan text inside the bands
// that the layout gives, with the three small lines flush with the right edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "display/countdown_wnd.h"
#include "display/frame_layout.h"
#include "win/gdi_probe.h"
#include "win/test_app.h"

namespace {

const FrameLine kLines[kFrameLineCount] = {FrameLine::Today, FrameLine::Start,   FrameLine::Due,
                                           FrameLine::Title, FrameLine::Subject, FrameLine::DayLine,
                                           FrameLine::Clock};

enum class Ink { None, Green, Cyan, Other };

// Text may be smoothed, so a shade of green is (0, g, 0) and a shade of cyan has blue in it.
Ink Classify(std::uint32_t rgb) {
    const unsigned r = rgb >> 16 & 0xFF, b = rgb & 0xFF;
    if (rgb == 0)
        return Ink::None;
    if (r == 0 && b == 0)
        return Ink::Green;
    if (r == 0)
        return Ink::Cyan;
    return Ink::Other;
}

class CFrameWnd : public CCountdownWnd {
public:
    CFrameWnd() : CCountdownWnd(FALSE) {}
};

struct Band {
    int top, bottom; // rows [top, bottom)
    bool cyan;
    int minX = 1 << 30, maxX = -1, pixels = 0;
};

class FramePixelsTest : public ::testing::TestWithParam<SIZE> {};

TEST_P(FramePixelsTest, TextOnlyInItsBands) {
    const int W = GetParam().cx, H = GetParam().cy;
    CTestApp& app = TestApp();
    app.m_timeFrom = CTime(2026, 12, 1, 9, 0, 0);
    app.m_timeTo = CTime(2027, 3, 31, 18, 30, 0);
    app.m_strTitle = "○×ソフト株式会社 納期";
    app.m_strSubject = "○×管理システム第一次開発終了まで";

    CFrameWnd wnd;
    const RECT rect{0, 0, W, H};
    ASSERT_TRUE(wnd.Create(0, WS_POPUP, rect, nullptr));
    CPixelTarget target(W, H);
    target.Fill(0xFFFFFF);
    CDCHandle dc(target.Dc());
    wnd.DrawFrame(&dc);
    ::GdiFlush();
    wnd.DestroyWindow();

    Band bands[kFrameLineCount];
    for (int i = 0; i < kFrameLineCount; ++i) {
        const int top = PlaceFrameLine(kLines[i], W, H, 0).y;
        bands[i] = Band{top, top + FrameFontHeight(FrameLineFont(kLines[i]), H),
                        kLines[i] == FrameLine::Start || kLines[i] == FrameLine::Due};
    }
    int strays = 0, others = 0;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const Ink ink = Classify(target.At(x, y));
            if (ink == Ink::None)
                continue;
            if (ink == Ink::Other) {
                ++others;
                continue;
            }
            bool inBand = false;
            for (Band& b : bands) {
                if (y >= b.top && y < b.bottom && (ink == Ink::Cyan) == b.cyan) {
                    inBand = true;
                    ++b.pixels;
                    b.minX = std::min(b.minX, x);
                    b.maxX = std::max(b.maxX, x);
                }
            }
            strays += !inBand;
        }
    }
    EXPECT_EQ(others, 0) << "pixels neither black, green nor cyan";
    EXPECT_EQ(strays, 0) << "ink outside the bands of its colour";
    const int cellA = FrameFontHeight(FrameFont::A, H);
    for (int i = 0; i < kFrameLineCount; ++i) {
        const Band& b = bands[i];
        EXPECT_GT(b.pixels, 0) << "line " << i << " drew nothing";
        if (i < 3) {
            // The last character ')' ends within one cell width of the right edge.
            EXPECT_GE(b.maxX, W - cellA) << "line " << i;
        } else {
            // Centred lines: the ink is balanced about the middle within a glyph cell.
            const int cell = FrameFontHeight(FrameLineFont(kLines[i]), H);
            EXPECT_LE(std::abs((b.minX + b.maxX) / 2 - W / 2), cell) << "line " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FramePixelsTest,
                         ::testing::Values(SIZE{800, 600}, SIZE{640, 480}, SIZE{1280, 720}),
                         [](const ::testing::TestParamInfo<SIZE>& info) {
                             return std::to_string(info.param.cx) + "x" + std::to_string(info.param.cy);
                         });

TEST(FramePixelsTest, AnEmptyTitleMovesNothing) {
    CTestApp& app = TestApp();
    app.m_timeFrom = CTime(-1);
    app.m_timeTo = CTime(-1);
    app.m_strTitle = "";
    app.m_strSubject = "";
    CFrameWnd wnd;
    const RECT rect{0, 0, 400, 300};
    ASSERT_TRUE(wnd.Create(0, WS_POPUP, rect, nullptr));
    CPixelTarget target(400, 300);
    CDCHandle dc(target.Dc());
    wnd.DrawFrame(&dc);
    ::GdiFlush();
    wnd.DestroyWindow();
    // Only the Today line, the overdue day line and the clock are drawn: no cyan at all, and no
    // ink in the title and subject bands.
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            const Ink ink = Classify(target.At(x, y));
            ASSERT_NE(ink, Ink::Cyan) << x << "," << y;
            if (y >= 60 && y < 60 + 15) {
                ASSERT_EQ(ink, Ink::None) << "title band " << x << "," << y;
            }
            if (y >= 90 && y < 90 + 15) {
                ASSERT_EQ(ink, Ink::None) << "subject band " << x << "," << y;
            }
        }
    }
}

TEST(FramePixelsTest, AnEmptyClientAreaCopiesNothing) {
    CFrameWnd wnd;
    const RECT rect{0, 0, 0, 0};
    ASSERT_TRUE(wnd.Create(0, WS_POPUP, rect, nullptr));
    CPixelTarget target(16, 16);
    target.Fill(0xFFFFFF);
    CDCHandle dc(target.Dc());
    wnd.DrawFrame(&dc);
    ::GdiFlush();
    EXPECT_EQ(target.At(0, 0), 0xFFFFFFu);
    wnd.DestroyWindow();
}

} // namespace
