// Rendered frames, pixel by pixel: black everywhere except green and cyan text inside the bands
// that the layout gives, with the three small lines flush with the right edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "display/countdown_wnd.h"
#include "display/frame_layout.h"
#include "fw/afxcp.h"
#include "win/gdi_probe.h"
#include "win/import_hook.h"
#include "win/test_app.h"

namespace {

enum class Ink { None, Green, Cyan, Other };

// Text may be smoothed over the black ground, so a shade of green is (0, g, 0) and a shade of
// cyan (0, c, c): green and blue alike. Pure blue, or any other mix, is neither.
Ink Classify(std::uint32_t rgb) {
    const unsigned r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    if (rgb == 0)
        return Ink::None;
    if (r == 0 && b == 0)
        return Ink::Green;
    if (r == 0 && g == b)
        return Ink::Cyan;
    return Ink::Other;
}

// Draws the settings the test application holds when the window is made.
class CFrameWnd : public CCountdownWnd {
public:
    CFrameWnd() : CCountdownWnd(FALSE) { SetSettings(TestApp().Settings()); }
};

struct Band {
    int top, bottom; // rows [top, bottom)
    bool cyan;
    int minX = 1 << 30, maxX = -1, pixels = 0;
};

// What the frame measured for each line, in drawing order: the width the layout was given, the
// side bearings of its first and last glyphs, where the ink starts and ends within it, and the text.
struct Measured {
    int width, left, right;
    std::wstring text;
};
std::vector<Measured> g_measured;
CImportHook* g_pExtentHook = nullptr;

BOOL WINAPI RecordExtent(HDC hDC, LPCWSTR psz, int n, LPSIZE pSize) {
    const BOOL ok = g_pExtentHook->Original<decltype(&::GetTextExtentPoint32W)>()(hDC, psz, n, pSize);
    ABC first{}, last{};
    if (n > 0) {
        ::GetCharABCWidthsW(hDC, psz[0], psz[0], &first);
        ::GetCharABCWidthsW(hDC, psz[n - 1], psz[n - 1], &last);
    }
    g_measured.push_back({ok ? pSize->cx : -1, first.abcA, last.abcC, std::wstring(psz, n > 0 ? n : 0)});
    return ok;
}

// Draws a W x H frame of the settings as they stand and checks each colour against the bands.
void CheckTextOnlyInItsBands(int W, int H) {
    CFrameWnd wnd;
    const RECT rect{0, 0, W, H};
    ASSERT_TRUE(wnd.Create(0, WS_POPUP, rect, nullptr));
    CPixelTarget target(W, H);
    target.Fill(0xFFFFFF);
    CDCHandle dc(target.Dc());
    {
        CImportHook hook("GDI32.dll", "GetTextExtentPoint32W", reinterpret_cast<void*>(&RecordExtent));
        ASSERT_TRUE(hook.Installed());
        g_pExtentHook = &hook;
        g_measured.clear();
        wnd.DrawFrame(&dc);
        ::GdiFlush();
    }
    wnd.DestroyWindow();
    ASSERT_EQ(g_measured.size(), static_cast<std::size_t>(kFrameLineCount));

    Band bands[kFrameLineCount];
    for (int i = 0; i < kFrameLineCount; ++i) {
        const FrameRow& row = kFrameRows[i];
        const int top = PlaceFrameLine(row.line, W, H, 0).y;
        bands[i] = Band{top, top + FrameFontHeight(row.font, H), row.color == kFrameCyan};
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
    // Each line's box is where the layout puts its measured width; the ink starts and ends
    // within it by the side bearings of its first and last glyphs, give or take the slant of
    // italics, which grows with the cell: off by a character, or cut at the edge, is more.
    for (int i = 0; i < kFrameLineCount; ++i) {
        const Band& b = bands[i];
        const Measured& m = g_measured[i];
        const int left = PlaceFrameLine(kFrameRows[i].line, W, H, m.width).x;
        const int right = left + m.width - 1;
        const int slack = 3 + FrameFontHeight(kFrameRows[i].font, H) / 8;
        EXPECT_GT(b.pixels, 0) << "line " << i << " drew nothing";
        EXPECT_GE(left, 0) << "line " << i << " does not fit the screen";
        EXPECT_LE(right, W - 1) << "line " << i << " does not fit the screen";
        EXPECT_LE(std::abs(b.minX - (left + m.left)), slack)
            << "line " << i << ": ink from " << b.minX << ", box from " << left << ", bearing " << m.left;
        EXPECT_LE(std::abs(b.maxX - (right - m.right)), slack)
            << "line " << i << ": ink to " << b.maxX << ", box to " << right << ", bearing " << m.right;
    }
}

class FramePixelsTest : public ::testing::TestWithParam<SIZE> {};

TEST_P(FramePixelsTest, TextOnlyInItsBands) {
    CTestApp& app = TestApp();
    app.m_timeFrom = CTime(2026, 12, 1, 9, 0, 0);
    app.m_timeTo = CTime(2027, 3, 31, 18, 30, 0);
    app.m_strTitle = "○×ソフト株式会社 納期";
    app.m_strSubject = "○×管理システム第一次開発終了まで";
    // The clock lines' glyphs change with the time: 10:30, 01:30, 09:30 and 22:30 before the due
    // time. A leading "1" alone has a side bearing wider than the allowance for the italic slant.
    for (const CTime now : {CTime(2027, 3, 31, 8, 0, 0), CTime(2027, 3, 31, 17, 0, 0),
                            CTime(2027, 3, 31, 9, 0, 0), CTime(2027, 3, 30, 20, 0, 0)}) {
        SCOPED_TRACE(std::string(now.Format("now %H:%M")));
        const CPinnedClock clock(now);
        CheckTextOnlyInItsBands(GetParam().cx, GetParam().cy);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FramePixelsTest,
                         ::testing::Values(SIZE{800, 600}, SIZE{640, 480}, SIZE{1280, 720}),
                         [](const ::testing::TestParamInfo<SIZE>& info) {
                             return std::to_string(info.param.cx) + "x" + std::to_string(info.param.cy);
                         });

// Past 2038 and up to the span's end, with a due date in 2040 read from the settings file: each
// line says the right thing, and even the widest day line fits a 4:3 screen.
TEST(FramePixelsTest, FramesPastTwoThousandThirtyEightShowTheirDates) {
    CTempDir dir;
    SetProfilePath(dir.File("Kestrovin.ini"));
    WriteFileBytes(dir.File("Kestrovin.ini"),
                   "[SYSTEM]\r\nFROM_DATE=2038/01/19 12:14:08\r\nTO_DATE=2040/01/01 00:00:00\r\n"
                   "TITLE=t\r\nSUBJECT=s\r\n");
    CTestApp& app = TestApp();
    const struct {
        CTime now;
        const char* today;
        const char* dayLine;
        const char* clock;
    } cases[] = {
        {CTime(2039, 6, 1, 12, 0, 0), "Today  : 2039/06/01 12:00:00 (Wed)", "残り 213 日と", "12:00:00"},
        {CTime(2999, 12, 31, 12, 0, 0), "Today  : 2999/12/31 12:00:00 (Tue)", "期限オーバー 350632 日と",
         "12:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.today);
        const CPinnedClock clock(c.now);
        app.LoadSettings();
        CheckTextOnlyInItsBands(800, 600);
        ASSERT_EQ(g_measured.size(), static_cast<std::size_t>(kFrameLineCount));
        const char* const expected[kFrameLineCount] = {c.today,
                                                       "開始日 : 2038/01/19 12:14:08 (Tue)",
                                                       "終了日 : 2040/01/01 00:00:00 (Sun)",
                                                       "t",
                                                       "s",
                                                       c.dayLine,
                                                       c.clock};
        for (int i = 0; i < kFrameLineCount; ++i)
            EXPECT_TRUE(g_measured[i].text == AfxToWide(expected[i])) << "line " << i << ": " << expected[i];
    }
    // The longest distance the span allows: overdue from its first second to its last.
    app.m_timeTo = CTime(0);
    const CPinnedClock clock(CTime(CTime::kMaxTime));
    CheckTextOnlyInItsBands(800, 600);
    ASSERT_EQ(g_measured.size(), static_cast<std::size_t>(kFrameLineCount));
    EXPECT_TRUE(g_measured[5].text == AfxToWide("期限オーバー 376564 日と"));
    SetProfilePath("");
}

// Draws one frame of the settings as they stand into a 400 x 300 target.
std::vector<std::uint32_t> DrawFrame400x300() {
    CFrameWnd wnd;
    const RECT rect{0, 0, 400, 300};
    EXPECT_TRUE(wnd.Create(0, WS_POPUP, rect, nullptr));
    CPixelTarget target(400, 300);
    CDCHandle dc(target.Dc());
    wnd.DrawFrame(&dc);
    ::GdiFlush();
    wnd.DestroyWindow();
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            pixels.push_back(target.At(x, y));
    return pixels;
}

TEST(FramePixelsTest, AnEmptyTitleOrSubjectDrawsNothingAndMovesNothing) {
    CTestApp& app = TestApp();
    app.m_timeFrom = CTime(2026, 12, 1, 9, 0, 0);
    app.m_timeTo = CTime(2027, 3, 31, 18, 30, 0);
    const char* const kTitle = "○×ソフト株式会社 納期";
    const char* const kSubject = "○×管理システム第一次開発終了まで";
    const auto band = [](FrameLine line) {
        const FrameRow& row = kFrameRows[static_cast<int>(line)];
        const int top = PlaceFrameLine(line, 400, 300, 0).y;
        return std::make_pair(top, top + FrameFontHeight(row.font, 300));
    };
    const struct {
        const char* name;
        const char* title;
        const char* subject;
        std::vector<FrameLine> emptied;
    } cases[] = {
        {"empty title", "", kSubject, {FrameLine::Title}},
        {"empty subject", kTitle, "", {FrameLine::Subject}},
        {"both empty", "", "", {FrameLine::Title, FrameLine::Subject}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // One moment for both frames, so that the clock lines agree.
        const CPinnedClock clock(CTime(2027, 3, 30, 20, 0, 0));
        app.m_strTitle = kTitle;
        app.m_strSubject = kSubject;
        const std::vector<std::uint32_t> full = DrawFrame400x300();
        app.m_strTitle = c.title;
        app.m_strSubject = c.subject;
        const std::vector<std::uint32_t> emptied = DrawFrame400x300();
        int inked = 0, differing = 0, left = 0;
        for (int y = 0; y < 300; ++y) {
            bool inEmptied = false;
            for (const FrameLine line : c.emptied)
                inEmptied |= y >= band(line).first && y < band(line).second;
            for (int x = 0; x < 400; ++x) {
                const std::size_t i = static_cast<std::size_t>(y) * 400 + x;
                if (inEmptied) {
                    inked += full[i] != 0;
                    left += emptied[i] != 0;
                } else {
                    differing += full[i] != emptied[i];
                }
            }
        }
        EXPECT_GT(inked, 0) << "the full frame drew nothing in the emptied band";
        EXPECT_EQ(left, 0) << "ink where the empty text would stand";
        EXPECT_EQ(differing, 0) << "pixels outside the emptied band changed";
    }
}

int CALLBACK OnFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM lParam) {
    *reinterpret_cast<bool*>(lParam) = true;
    return 0;
}

// The frame's faces: the intended Gothic ones where Windows has them (under Wine, through its
// replacements by the IPA faces), else the first Japanese face Windows has, else the first named.
TEST(FramePixelsTest, AMissingFaceGivesWayToTheFirstJapaneseFaceWindowsHas) {
    EXPECT_TRUE(AfxHasJapaneseFace(kFixedGothicFaces[0]));
    EXPECT_TRUE(AfxHasJapaneseFace(kProportionalGothicFaces[0]));
    EXPECT_TRUE(AfxHasJapaneseFace("IPAGothic"));
    EXPECT_FALSE(AfxHasJapaneseFace("Kestrovin No Such Face"));
    // A face Windows has, but not for Shift-JIS (fontconfig's own default face on Linux).
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    std::wcscpy(lf.lfFaceName, L"DejaVu Sans");
    bool bLatinFace = false;
    ::EnumFontFamiliesExW(CClientDC(static_cast<HWND>(nullptr)), &lf, &OnFontFound,
                          reinterpret_cast<LPARAM>(&bLatinFace), 0);
    ASSERT_TRUE(bLatinFace);
    EXPECT_FALSE(AfxHasJapaneseFace("DejaVu Sans"));
    EXPECT_FALSE(AfxHasJapaneseFace(""));
    const char* const missing[] = {"Kestrovin No Such Face", "DejaVu Sans", "IPAGothic", "IPAPGothic"};
    EXPECT_EQ(std::string(AfxChooseJapaneseFace(missing)), "IPAGothic");
    const char* const none[] = {"Kestrovin No Such Face", "Kestrovin Nor This"};
    EXPECT_EQ(std::string(AfxChooseJapaneseFace(none)), "Kestrovin No Such Face");
}

// A frame of Japanese settings at a pinned clock is the same, pixel for pixel, at every ANSI code
// page: win_frame_cp932 writes the frame drawn at 932 to the file KESTROVIN_FRAME_CP932 names,
// and the runs at 1252 and 65001 compare theirs with it.
TEST(FrameAcrossCodePagesTest, EqualsTheFrameAtCodePage932) {
    const char* pszFile = std::getenv("KESTROVIN_FRAME_CP932");
    if (!pszFile)
        GTEST_SKIP() << "no frame of the run at code page 932 named";
    CTestApp& app = TestApp();
    app.m_timeFrom = CTime(2026, 12, 1, 9, 0, 0);
    app.m_timeTo = CTime(2027, 3, 31, 18, 30, 0);
    app.m_strTitle = "○×ソフト株式会社 納期";
    app.m_strSubject = "○×管理システム第一次開発終了まで";
    std::vector<std::uint32_t> pixels;
    {
        const CPinnedClock clock(CTime(2027, 1, 15, 10, 20, 30));
        pixels = DrawFrame400x300();
    }
    ASSERT_LT(static_cast<std::size_t>(std::count(pixels.begin(), pixels.end(), 0u)), pixels.size())
        << "the frame drew nothing";
    const std::string bytes(reinterpret_cast<const char*>(pixels.data()), pixels.size() * sizeof pixels[0]);
    if (::GetACP() == 932) {
        WriteFileBytes(pszFile, bytes);
        ASSERT_EQ(ReadFileBytes(pszFile), bytes);
        return;
    }
    const std::string at932 = ReadFileBytes(pszFile);
    ASSERT_EQ(at932.size(), bytes.size()) << "no frame of the run at code page 932 in " << pszFile;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i)
        differing += std::memcmp(&at932[i * sizeof pixels[0]], &pixels[i], sizeof pixels[0]) != 0;
    EXPECT_EQ(differing, 0u) << "pixels unlike those at code page 932";
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
