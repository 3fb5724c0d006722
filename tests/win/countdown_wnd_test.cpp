// The display window: its messages, back buffer, timer, lifetime and GDI objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "display/countdown_wnd.h"
#include "win/gdi_probe.h"
#include "win/import_hook.h"
#include "win/test_app.h"

namespace {

// Exposes the window's state and counts its destruction.
class CProbeWnd : public CCountdownWnd {
public:
    explicit CProbeWnd(BOOL bAutoDelete, int* pDestroyed = nullptr)
        : CCountdownWnd(bAutoDelete), m_pDestroyed(pDestroyed) {}
    ~CProbeWnd() override {
        if (m_pDestroyed)
            ++*m_pDestroyed;
    }
    using CCountdownWnd::m_cxBuffer;
    using CCountdownWnd::m_cyBuffer;

    BOOL CreatePopup(int cx, int cy) {
        const RECT rect{0, 0, cx, cy};
        return Create(0, WS_POPUP, rect, nullptr);
    }

private:
    int* m_pDestroyed;
};

// A window whose WM_CREATE fails, so that its creation does.
class CFailingWnd : public CProbeWnd {
public:
    using CProbeWnd::CProbeWnd;
    const MsgMap* GetMessageMap() const override {
        static constexpr MsgEntry entries[] = {On<WM_CREATE, &CFailingWnd::OnCreateFail>()};
        static const MsgMap map{CProbeWnd::GetMessageMap(), entries, std::size(entries)};
        return &map;
    }
    int OnCreateFail(LPCREATESTRUCTW) { return -1; }
};

// A region for GetClipRgn to fill, deleted with the probe.
class CRgnProbe {
public:
    CRgnProbe() : m_hRgn(::CreateRectRgn(0, 0, 0, 0)) {}
    ~CRgnProbe() { ::DeleteObject(m_hRgn); }
    operator HRGN() const { return m_hRgn; }

private:
    HRGN m_hRgn;
};

SIZE BitmapSize(HBITMAP h) {
    BITMAP bm{};
    ::GetObjectA(h, sizeof bm, &bm);
    return SIZE{bm.bmWidth, bm.bmHeight};
}

TEST(CountdownWndTest, CreationBuildsTheBufferOfTheClientSize) {
    CProbeWnd wnd(FALSE);
    ASSERT_TRUE(wnd.CreatePopup(320, 200));
    EXPECT_EQ(wnd.m_cxBuffer, 320);
    EXPECT_EQ(wnd.m_cyBuffer, 200);
    ASSERT_NE(wnd.GetBufferDC(), nullptr);
    EXPECT_EQ(::GetCurrentObject(wnd.GetBufferDC(), OBJ_BITMAP), wnd.GetBufferBitmap());
    const SIZE size = BitmapSize(wnd.GetBufferBitmap());
    EXPECT_EQ(size.cx, 320);
    EXPECT_EQ(size.cy, 200);
    char className[128] = "";
    ::GetClassNameA(wnd.m_hWnd, className, sizeof className);
    EXPECT_EQ(::GetClassLongPtrA(wnd.m_hWnd, GCL_STYLE), static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(::GetClassLongPtrA(wnd.m_hWnd, GCLP_HBRBACKGROUND), 0u);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(::GetClassLongPtrA(wnd.m_hWnd, GCLP_HCURSOR)),
              ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(129)));

    // A second display window reuses the class.
    CProbeWnd other(FALSE);
    ASSERT_TRUE(other.CreatePopup(10, 10));
    char otherName[128] = "";
    ::GetClassNameA(other.m_hWnd, otherName, sizeof otherName);
    EXPECT_STREQ(className, otherName);
    wnd.DestroyWindow();
    other.DestroyWindow();
}

TEST(CountdownWndTest, EverySizeReplacesTheOneBuffer) {
    CProbeWnd wnd(FALSE);
    ASSERT_TRUE(wnd.CreatePopup(100, 100));
    std::vector<HGDIOBJ> released;
    const struct {
        int cx, cy, expectedHeight;
    } sizes[] = {{200, 150, 150}, {640, 0, 1}, {0, 30, 30}, {123, 45, 45}};
    for (const auto& s : sizes) {
        released.push_back(wnd.GetBufferDC());
        // A width of 0 gets the system's shared 1x1 bitmap, which no one can delete.
        if (BitmapSize(wnd.GetBufferBitmap()).cx > 1)
            released.push_back(wnd.GetBufferBitmap());
        wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(s.cx, s.cy));
        EXPECT_EQ(wnd.m_cxBuffer, s.cx);
        EXPECT_EQ(wnd.m_cyBuffer, s.cy);
        if (s.cx > 0) {
            const SIZE size = BitmapSize(wnd.GetBufferBitmap());
            EXPECT_EQ(size.cx, s.cx);
            EXPECT_EQ(size.cy, s.expectedHeight);
        }
    }
    // A released handle is gone, unless the table handed its slot to the buffer now held.
    for (HGDIOBJ h : released)
        if (h != wnd.GetBufferDC() && h != wnd.GetBufferBitmap()) {
            EXPECT_EQ(::GetObjectType(h), 0u) << h;
        }
    // The object outlives its window when it does not delete itself.
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_NE(wnd.GetBufferDC(), nullptr);
}

TEST(CountdownWndTest, OnlyTimerOneDraws) {
    CProbeWnd wnd(FALSE);
    ASSERT_TRUE(wnd.CreatePopup(64, 64));
    const HDC hMem = wnd.GetBufferDC();
    ::SetPixel(hMem, 0, 0, RGB(255, 255, 255));
    wnd.SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(::GetPixel(hMem, 0, 0), RGB(255, 255, 255));
    wnd.SendMessage(WM_TIMER, TIMER_REDRAW, 0);
    EXPECT_EQ(::GetPixel(hMem, 0, 0), RGB(0, 0, 0));
    // The frame leaves text transparent and green, the old font back and no clipping.
    EXPECT_EQ(::GetBkMode(hMem), TRANSPARENT);
    EXPECT_EQ(::GetTextColor(hMem), RGB(0, 255, 0));
    EXPECT_EQ(::GetCurrentObject(hMem, OBJ_FONT), ::GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(::GetClipRgn(hMem, CRgnProbe()), 0);
    wnd.DestroyWindow();
}

// The window's timer calls, in order: KillTimer records elapse 0.
struct TimerCall {
    bool set;
    HWND hWnd;
    UINT_PTR id;
    UINT elapse;
    bool callback;
};
std::vector<TimerCall> g_timerCalls;
CImportHook* g_pKillHook = nullptr;
CImportHook* g_pSetHook = nullptr;

BOOL WINAPI RecordKillTimer(HWND hWnd, UINT_PTR id) {
    g_timerCalls.push_back({false, hWnd, id, 0, false});
    return g_pKillHook->Original<decltype(&::KillTimer)>()(hWnd, id);
}
UINT_PTR WINAPI RecordSetTimer(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    g_timerCalls.push_back({true, hWnd, id, elapse, proc != nullptr});
    return g_pSetHook->Original<decltype(&::SetTimer)>()(hWnd, id, elapse, proc);
}

TEST(CountdownWndTest, CreationStopsTimerOneThenStartsItAt100Ms) {
    CImportHook killHook("USER32.dll", "KillTimer", reinterpret_cast<void*>(&RecordKillTimer));
    CImportHook setHook("USER32.dll", "SetTimer", reinterpret_cast<void*>(&RecordSetTimer));
    ASSERT_TRUE(killHook.Installed() && setHook.Installed());
    g_pKillHook = &killHook;
    g_pSetHook = &setHook;
    g_timerCalls.clear();

    CProbeWnd wnd(FALSE);
    ASSERT_TRUE(wnd.CreatePopup(64, 64));
    const std::vector<TimerCall> created = g_timerCalls;
    g_timerCalls.clear();
    EXPECT_NE(wnd.StartRedrawTimer(250), 0u);
    const std::vector<TimerCall> restarted = g_timerCalls;
    g_timerCalls.clear();
    const HWND h = wnd.m_hWnd;
    for (const auto& calls : {std::make_pair(created, 100u), std::make_pair(restarted, 250u)}) {
        ASSERT_EQ(calls.first.size(), 2u);
        const TimerCall& kill = calls.first[0];
        const TimerCall& set = calls.first[1];
        EXPECT_FALSE(kill.set);
        EXPECT_EQ(kill.hWnd, h);
        EXPECT_EQ(kill.id, TIMER_REDRAW);
        EXPECT_TRUE(set.set);
        EXPECT_EQ(set.hWnd, h);
        EXPECT_EQ(set.id, TIMER_REDRAW);
        EXPECT_EQ(set.elapse, calls.second);
        EXPECT_FALSE(set.callback) << "ticks must arrive as WM_TIMER";
    }

    // The timer runs, and there is one with id 1.
    const HDC hMem = wnd.GetBufferDC();
    ::SetPixel(hMem, 0, 0, RGB(255, 255, 255));
    EXPECT_TRUE(PumpUntil([&] { return ::GetPixel(hMem, 0, 0) == RGB(0, 0, 0); }, 1000));
    EXPECT_TRUE(::KillTimer(h, TIMER_REDRAW));
    EXPECT_FALSE(::KillTimer(h, TIMER_REDRAW));
    wnd.DestroyWindow();
}

TEST(CountdownWndTest, FailedCreationLeavesTheObjectToItsCaller) {
    int destroyed = 0;
    CFailingWnd* pWnd = new CFailingWnd(TRUE, &destroyed);
    EXPECT_FALSE(pWnd->CreatePopup(50, 50));
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(pWnd->m_hWnd, nullptr);
    delete pWnd;
    EXPECT_EQ(destroyed, 1);
}

TEST(CountdownWndTest, BufferIsReleasedWithTheObject) {
    HGDIOBJ hBitmap = nullptr;
    HGDIOBJ hMem = nullptr;
    {
        CProbeWnd wnd(FALSE);
        ASSERT_TRUE(wnd.CreatePopup(40, 40));
        wnd.SendMessage(WM_TIMER, TIMER_REDRAW, 0);
        hBitmap = wnd.GetBufferBitmap();
        hMem = wnd.GetBufferDC();
        EXPECT_EQ(::GetObjectType(hBitmap), static_cast<DWORD>(OBJ_BITMAP));
    }
    EXPECT_EQ(::GetObjectType(hMem), 0u);
    EXPECT_EQ(::GetObjectType(hBitmap), 0u);
}

TEST(CountdownWndTest, ThousandsOfFramesAndHundredsOfResizesLeaveNothingBehind) {
    CProbeWnd wnd(FALSE);
    const RECT rect{0, 0, 400, 300};
    ASSERT_TRUE(wnd.Create(0, WS_POPUP | WS_VISIBLE, rect, nullptr));
    ASSERT_TRUE(::IsWindowVisible(wnd.m_hWnd)) << "a hidden window is never painted";
    // A tick draws only a frame that differs from the last; a new title each time makes every
    // tick draw and copy a whole frame, and every tenth is followed by a paint.
    FrameSettings settings;
    const auto drawnTick = [&](int i) {
        settings.m_strTitle = i % 2 ? "納期" : "締切";
        wnd.SetSettings(settings);
        wnd.SendMessage(WM_TIMER, TIMER_REDRAW, 0);
        if (i % 10 == 0)
            ::RedrawWindow(wnd.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    };
    // Warm up allocations that happen once (font caches, the class).
    for (int i = 0; i < 50; ++i)
        drawnTick(i);
    const unsigned indexBefore = NextGdiHandleIndex();
    const std::size_t bytesBefore = HeapBytesInUse();
    std::vector<HGDIOBJ> buffers;
    for (int i = 0; i < 3000; ++i)
        drawnTick(i);
    for (int i = 0; i < 300; ++i) {
        buffers.push_back(wnd.GetBufferDC());
        buffers.push_back(wnd.GetBufferBitmap());
        wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(200 + i % 7 * 50, 150 + i % 5 * 40));
        drawnTick(i);
    }
    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 300));
    const unsigned indexAfter = NextGdiHandleIndex();
    const std::size_t bytesAfter = HeapBytesInUse();
    for (HGDIOBJ h : buffers)
        if (h != wnd.GetBufferDC() && h != wnd.GetBufferBitmap()) {
            EXPECT_EQ(::GetObjectType(h), 0u);
        }
    // 3300 frames with four fonts each would have moved the index by thousands.
    EXPECT_LE(indexAfter > indexBefore ? indexAfter - indexBefore : indexBefore - indexAfter, 4u);
    // Under 8 bytes a frame (8 KB seen here, once): a block of any size left behind each frame
    // is more.
    EXPECT_LT(bytesAfter, bytesBefore + 3300 * 8) << bytesBefore << " -> " << bytesAfter;
    wnd.DestroyWindow();
}

// What a window shows, or what a device context holds, over a cx by cy area, row by row.
std::vector<std::uint32_t> Pixels(HDC hDC, int cx, int cy) {
    CPixelTarget target(cx, cy);
    ::BitBlt(target.Dc(), 0, 0, cx, cy, hDC, 0, 0, SRCCOPY);
    ::GdiFlush();
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            pixels.push_back(target.At(x, y));
    return pixels;
}
std::vector<std::uint32_t> Shown(HWND hWnd) {
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    return Pixels(CClientDC(hWnd), rc.right, rc.bottom);
}

TEST(CountdownWndTest, ARunningWindowShowsTheSecondsGoBy) {
    CProbeWnd wnd(FALSE);
    const RECT rect{0, 0, 200, 150};
    ASSERT_TRUE(wnd.Create(0, WS_POPUP | WS_VISIBLE, rect, nullptr));
    std::vector<std::uint32_t> last = Shown(wnd.m_hWnd);
    int changes = 0;
    PumpUntil(
        [&] {
            std::vector<std::uint32_t> now = Shown(wnd.m_hWnd);
            changes += now != last;
            last = std::move(now);
            return changes == 3;
        },
        6000);
    // The first frame, then two new seconds.
    EXPECT_EQ(changes, 3);
    wnd.DestroyWindow();
}

// The rows of the window that each tick copies to it.
std::vector<std::pair<int, int>> g_copiedRows;
CImportHook* g_pBitBltHook = nullptr;

BOOL WINAPI RecordBitBlt(HDC hDest, int x, int y, int cx, int cy, HDC hSrc, int xSrc, int ySrc, DWORD rop) {
    g_copiedRows.emplace_back(y, y + cy);
    return g_pBitBltHook->Original<decltype(&::BitBlt)>()(hDest, x, y, cx, cy, hSrc, xSrc, ySrc, rop);
}

// Over a run of ticks across a second, a minute, a day of the countdown and changes of the
// settings and the size, the window shows after each tick what a whole frame drawn afresh shows;
// a tick copies only the rows of the lines that changed, and nothing when none did.
TEST(CountdownWndTest, EachTickShowsAWholeFrameCopyingOnlyWhatChanged) {
    FrameSettings settings{CTime(2026, 12, 1, 9, 0, 0), CTime(2027, 3, 31, 18, 30, 0),
                           "○×ソフト株式会社 納期", "○×管理システム第一次開発終了まで"};
    CProbeWnd wnd(FALSE);
    const RECT rect{0, 0, 640, 480};
    ASSERT_TRUE(wnd.Create(0, WS_POPUP | WS_VISIBLE, rect, nullptr));
    // Draws the frames to compare with, each whole, never shown.
    CProbeWnd fresh(FALSE);
    ASSERT_TRUE(fresh.Create(0, WS_POPUP, rect, nullptr));
    const auto setSettings = [&] {
        wnd.SetSettings(settings);
        fresh.SetSettings(settings);
    };
    setSettings();

    enum : unsigned { kToday = 1, kDayLine = 32, kClock = 64, kAll = 127, kAny = ~0u };
    const struct {
        const char* name;
        CTime now;
        std::function<void()> apply;
        unsigned changed; // bits in FrameLine order; kAny: not checked
    } ticks[] = {
        {"first", CTime(2027, 3, 29, 18, 28, 59), nullptr, kAll},
        {"same second", CTime(2027, 3, 29, 18, 28, 59), nullptr, 0},
        {"a minute", CTime(2027, 3, 29, 18, 29, 0), nullptr, kToday | kClock},
        {"a second", CTime(2027, 3, 29, 18, 29, 1), nullptr, kToday | kClock},
        {"to the day", CTime(2027, 3, 29, 18, 30, 0), nullptr, kToday | kClock},
        {"a day", CTime(2027, 3, 29, 18, 30, 1), nullptr, kToday | kDayLine | kClock},
        // New settings are drawn whole.
        {"title", CTime(2027, 3, 29, 18, 30, 1),
         [&] {
             settings.m_strTitle = "締切";
             setSettings();
         },
         kAll},
        {"same settings", CTime(2027, 3, 29, 18, 30, 1), nullptr, 0},
        {"due date", CTime(2027, 3, 29, 18, 30, 1),
         [&] {
             settings.m_timeTo = CTime(2027, 4, 30, 9, 0, 0);
             setSettings();
         },
         kAll},
        {"size", CTime(2027, 3, 29, 18, 30, 1),
         [&] {
             for (CProbeWnd* p : {&wnd, &fresh})
                 ::SetWindowPos(p->m_hWnd, nullptr, 0, 0, 600, 500,
                                SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
         },
         kAll},
        {"a second after", CTime(2027, 3, 29, 18, 30, 2), nullptr, kToday | kClock},
        // So low a window that the three small lines, in the font mapper's default size, overlap
        // each other and the title: which rows join is the fonts' business, so copies are not
        // checked there.
        {"low", CTime(2027, 3, 29, 18, 30, 2),
         [&] {
             for (CProbeWnd* p : {&wnd, &fresh})
                 ::SetWindowPos(p->m_hWnd, nullptr, 0, 0, 600, 45,
                                SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
         },
         kAny},
        {"a second, low", CTime(2027, 3, 29, 18, 30, 3), nullptr, kAny},
        {"a day, low", CTime(2027, 3, 30, 18, 30, 4), nullptr, kAny},
    };
    CImportHook hook("GDI32.dll", "BitBlt", reinterpret_cast<void*>(&RecordBitBlt));
    ASSERT_TRUE(hook.Installed());
    g_pBitBltHook = &hook;
    for (const auto& tick : ticks) {
        SCOPED_TRACE(tick.name);
        const CPinnedClock clock(tick.now);
        if (tick.apply)
            tick.apply();
        g_copiedRows.clear();
        wnd.SendMessage(WM_TIMER, TIMER_REDRAW, 0);
        const std::vector<std::pair<int, int>> copied = std::move(g_copiedRows);

        const std::vector<std::uint32_t> shown = Shown(wnd.m_hWnd);
        CPixelTarget target(fresh.m_cxBuffer, fresh.m_cyBuffer);
        CDCHandle dc(target.Dc());
        fresh.DrawFrame(&dc);
        const std::vector<std::uint32_t> expected = Pixels(target.Dc(), target.Width(), target.Height());
        ASSERT_EQ(shown.size(), expected.size());
        std::size_t differing = 0;
        for (std::size_t i = 0; i < shown.size(); ++i)
            differing += shown[i] != expected[i];
        EXPECT_EQ(differing, 0u) << "pixels unlike a whole frame's";

        // A line's text is copied when its middle row is.
        if (!tick.changed) {
            EXPECT_TRUE(copied.empty()) << copied.size() << " copies of an unchanged frame";
        }
        for (int i = 0; i < kFrameLineCount && tick.changed != kAny; ++i) {
            const FrameRow& row = kFrameRows[i];
            const int middle = PlaceFrameLine(row.line, wnd.m_cxBuffer, wnd.m_cyBuffer, 0).y +
                               FrameFontHeight(row.font, wnd.m_cyBuffer) / 2;
            const bool bCopied = std::any_of(copied.begin(), copied.end(), [&](const std::pair<int, int>& r) {
                return r.first <= middle && middle < r.second;
            });
            EXPECT_EQ(bCopied, (tick.changed >> static_cast<int>(row.line) & 1) != 0) << "line " << i;
        }
    }
    wnd.DestroyWindow();
    fresh.DestroyWindow();
}

// Where no back buffer can be made, the window is black, with no message box: over a topmost
// saver no one could see or close one. What was half made is released; the next size tries again.
const char* g_pszFailing = nullptr;
CImportHook* g_pDcHook = nullptr;
CImportHook* g_pBitmapHook = nullptr;
std::vector<HGDIOBJ> g_made;
int g_boxes = 0;

HDC WINAPI FailOrRecordDC(HDC hDC) {
    if (std::strcmp(g_pszFailing, "CreateCompatibleDC") == 0)
        return nullptr;
    const HDC h = g_pDcHook->Original<decltype(&::CreateCompatibleDC)>()(hDC);
    g_made.push_back(h);
    return h;
}
HBITMAP WINAPI FailOrRecordBitmap(HDC hDC, int cx, int cy) {
    if (std::strcmp(g_pszFailing, "CreateCompatibleBitmap") == 0)
        return nullptr;
    const HBITMAP h = g_pBitmapHook->Original<decltype(&::CreateCompatibleBitmap)>()(hDC, cx, cy);
    g_made.push_back(h);
    return h;
}
int WINAPI CountBox(HWND, LPCWSTR, LPCWSTR, UINT) {
    ++g_boxes;
    return IDOK;
}

TEST(CountdownWndTest, ABufferThatCannotBeMadeLeavesTheWindowBlack) {
    for (const char* pszFailing : {"CreateCompatibleDC", "CreateCompatibleBitmap"}) {
        SCOPED_TRACE(pszFailing);
        CProbeWnd wnd(FALSE);
        const RECT rect{0, 0, 200, 150};
        ASSERT_TRUE(wnd.Create(0, WS_POPUP | WS_VISIBLE, rect, nullptr));
        const auto inked = [&] {
            const std::vector<std::uint32_t> shown = Shown(wnd.m_hWnd);
            return std::count(shown.begin(), shown.end(), 0u) != static_cast<std::ptrdiff_t>(shown.size());
        };
        // Painted, so that nothing but the failure asks for the next paint.
        ASSERT_TRUE(PumpUntil([&] { return inked() && !::GetUpdateRect(wnd.m_hWnd, nullptr, FALSE); }, 2000))
            << "the window shows no frame to begin with";
        g_pszFailing = pszFailing;
        g_made.clear();
        g_boxes = 0;
        {
            CImportHook dcHook("GDI32.dll", "CreateCompatibleDC", reinterpret_cast<void*>(&FailOrRecordDC));
            CImportHook bitmapHook("GDI32.dll", "CreateCompatibleBitmap",
                                   reinterpret_cast<void*>(&FailOrRecordBitmap));
            CImportHook boxHook("USER32.dll", "MessageBoxW", reinterpret_cast<void*>(&CountBox));
            ASSERT_TRUE(dcHook.Installed() && bitmapHook.Installed() && boxHook.Installed());
            g_pDcHook = &dcHook;
            g_pBitmapHook = &bitmapHook;
            // Something else than black on the window, as a desktop under a saver would be.
            ::PatBlt(CClientDC(wnd.m_hWnd), 0, 0, 200, 150, WHITENESS);
            wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 150));
            // Ticks, as a running saver gets them.
            for (int i = 0; i < 3; ++i)
                wnd.SendMessage(WM_TIMER, TIMER_REDRAW, 0);
        }
        EXPECT_EQ(g_boxes, 0);
        EXPECT_EQ(wnd.GetBufferDC(), nullptr);
        EXPECT_EQ(wnd.GetBufferBitmap(), nullptr);
        for (HGDIOBJ h : g_made)
            EXPECT_EQ(::GetObjectType(h), 0u) << "half a buffer kept";
        EXPECT_TRUE(PumpUntil([&] { return !inked(); }, 2000)) << "not black";
        wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 150));
        ASSERT_NE(wnd.GetBufferDC(), nullptr);
        wnd.SendMessage(WM_TIMER, TIMER_REDRAW, 0);
        EXPECT_TRUE(inked()) << "no frame once a buffer could be made";
        wnd.DestroyWindow();
    }
}

} // namespace
