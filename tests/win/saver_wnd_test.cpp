// The full-screen saver: one window a monitor, what ends it and what it holds off, and its single
// end.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "display/saver_group.h"
#include "display/saver_wnd.h"
#include "win/import_hook.h"
#include "win/test_app.h"

namespace {

int g_destroyed = 0;

class CCountedSaver : public CSaverWnd {
public:
    using CSaverWnd::CSaverWnd;
    ~CCountedSaver() override { ++g_destroyed; }
};

class CCountingGroup : public CSaverGroup {
public:
    using CSaverGroup::CSaverGroup;
    using CSaverGroup::m_ptFirstMouse;

protected:
    CSaverWnd* NewWindow() override { return new CCountedSaver(*this); }
};

// A second monitor left of and above the primary, of another size: its client point (320, 200)
// is the screen's (0, 0).
const RECT kLeftMonitor{-320, -200, 0, 40};

bool HasQuit() {
    MSG msg;
    return ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

class SaverWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_destroyed = 0;
        m_pGroup = std::make_unique<CCountingGroup>(TestApp().Settings());
        const std::vector<RECT> monitors{CSaverGroup::EnumMonitors().front(), kLeftMonitor};
        m_pGroup->Cover(monitors);
        ASSERT_EQ(m_pGroup->Windows().size(), 2u);
        m_hWnd = m_pGroup->Windows()[0]->m_hWnd;
        m_hWndLeft = m_pGroup->Windows()[1]->m_hWnd;
        // The system moves the pointer into a new window once: wait for that first position to be
        // recorded, then start from none.
        ASSERT_TRUE(PumpUntil([&] { return m_pGroup->m_ptFirstMouse.has_value(); }, 5000))
            << "no pointer position came";
        ASSERT_TRUE(::IsWindow(m_hWnd) && ::IsWindow(m_hWndLeft)) << "the saver closed by itself";
        m_pGroup->m_ptFirstMouse.reset();
    }
    void TearDown() override {
        m_pGroup.reset();
        // Quit messages of the end must not reach later tests.
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    bool ClosesAfter(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        ::SendMessageA(hWnd, msg, wParam, lParam);
        PumpMessages(30);
        return !::IsWindow(m_hWnd);
    }
    bool ClosesAfter(UINT msg, WPARAM wParam, LPARAM lParam) {
        return ClosesAfter(m_hWnd, msg, wParam, lParam);
    }

    std::unique_ptr<CCountingGroup> m_pGroup;
    HWND m_hWnd = nullptr;
    HWND m_hWndLeft = nullptr;
};

SIZE BitmapSize(HBITMAP h) {
    BITMAP bm{};
    ::GetObjectA(h, sizeof bm, &bm);
    return SIZE{bm.bmWidth, bm.bmHeight};
}

// Window i covers monitor i, topmost, with a back buffer of that monitor's own size.
void ExpectCovered(const CSaverGroup& group, const std::vector<RECT>& monitors) {
    ASSERT_EQ(group.Windows().size(), monitors.size());
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        SCOPED_TRACE(i);
        const CSaverWnd& wnd = *group.Windows()[i];
        RECT rc{};
        ::GetWindowRect(wnd.m_hWnd, &rc);
        EXPECT_TRUE(::EqualRect(&rc, &monitors[i]))
            << rc.left << "," << rc.top << "-" << rc.right << "," << rc.bottom;
        EXPECT_TRUE(::GetWindowLongA(wnd.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(wnd.m_hWnd, GWL_STYLE)) & (WS_POPUP | WS_VISIBLE),
                  static_cast<DWORD>(WS_POPUP | WS_VISIBLE));
        const SIZE buffer = BitmapSize(wnd.GetBufferBitmap());
        EXPECT_EQ(buffer.cx, monitors[i].right - monitors[i].left);
        EXPECT_EQ(buffer.cy, monitors[i].bottom - monitors[i].top);
    }
}

TEST_F(SaverWndTest, EveryMonitorIsCoveredThePrimaryAsBefore) {
    const std::vector<RECT> monitors = CSaverGroup::EnumMonitors();
    ASSERT_FALSE(monitors.empty());
    const RECT primary{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_TRUE(::EqualRect(&monitors.front(), &primary));
    CCountingGroup group(TestApp().Settings());
    ASSERT_TRUE(group.Start());
    ExpectCovered(group, monitors);
}

// A new arrangement moves, makes and takes down windows; the saver keeps running throughout and
// the primary's window stays the same.
TEST_F(SaverWndTest, ANewArrangementOfMonitorsIsCoveredWithoutEndingIt) {
    const RECT primary = CSaverGroup::EnumMonitors().front();
    const std::vector<std::vector<RECT>> arrangements = {
        {primary, RECT{primary.right, -256, primary.right + 400, 44}, kLeftMonitor},
        {primary, RECT{-100, 0, 0, 90}},
        {primary},
        {RECT{0, 0, 300, 200}, kLeftMonitor},
    };
    for (const auto& monitors : arrangements) {
        SCOPED_TRACE(monitors.size());
        m_pGroup->Cover(monitors);
        PumpMessages(30);
        ExpectCovered(*m_pGroup, monitors);
        EXPECT_EQ(m_pGroup->Windows().front()->m_hWnd, m_hWnd);
    }
    // The message itself, to the last window: with one monitor, as here, the one taken down.
    ::SendMessageA(m_pGroup->Windows().back()->m_hWnd, WM_DISPLAYCHANGE, 32,
                   MAKELPARAM(primary.right, primary.bottom));
    PumpMessages(30);
    ExpectCovered(*m_pGroup, CSaverGroup::EnumMonitors());
    EXPECT_TRUE(::IsWindow(m_hWnd));
    // Windows went only where monitors did: one at each of the two shrinking arrangements, and
    // those beyond the system's monitors now.
    const int nMonitors = static_cast<int>(CSaverGroup::EnumMonitors().size());
    EXPECT_EQ(g_destroyed, 2 + (nMonitors < 2 ? 2 - nMonitors : 0));
}

TEST_F(SaverWndTest, OnlyTheExactCommandsToStartASaverOrCloseAreSwallowed) {
    const struct {
        WPARAM command;
        bool closes;
    } cases[] = {
        {SC_SCREENSAVE, false},
        {SC_CLOSE, false},
        // The low four bits count: these are not SC_CLOSE, so they reach default processing,
        // which reads them as the close command.
        {SC_CLOSE | 1, true},
        {SC_CLOSE | 0xF, true},
    };
    for (const auto& c : cases) {
        if (!::IsWindow(m_hWnd))
            SetUp();
        EXPECT_EQ(ClosesAfter(WM_SYSCOMMAND, c.command, 0), c.closes) << std::hex << c.command;
    }
    if (!::IsWindow(m_hWnd))
        SetUp();
    // Other commands reach default processing: minimising does minimise, and closes nothing.
    ::SendMessageA(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    PumpMessages(100);
    ASSERT_TRUE(::IsWindow(m_hWnd));
    EXPECT_TRUE(::IsIconic(m_hWnd));
}

TEST_F(SaverWndTest, DeactivatingTheCaptionIsRefused) {
    EXPECT_EQ(::SendMessageA(m_hWnd, WM_NCACTIVATE, FALSE, 0), FALSE);
    EXPECT_EQ(::SendMessageA(m_hWnd, WM_NCACTIVATE, TRUE, 0),
              ::DefWindowProcA(m_hWnd, WM_NCACTIVATE, TRUE, 0));
    PumpMessages(20);
    EXPECT_TRUE(::IsWindow(m_hWnd));
}

TEST_F(SaverWndTest, TheCursorIsHiddenForEveryHitTest) {
    for (const UINT hit : {HTCLIENT, HTNOWHERE, HTCAPTION, HTERROR}) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        EXPECT_EQ(::SendMessageA(m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWnd),
                                 MAKELPARAM(hit, WM_MOUSEMOVE)),
                  TRUE);
        EXPECT_EQ(::GetCursor(), nullptr) << hit;
    }
}

// Each row starts from a saver that has seen no pointer move; only its last message may close
// it, and a close destroys it once.
TEST_F(SaverWndTest, WhatClosesItAndWhatDoesNot) {
    struct Msg {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        bool left = false; // sent to the left monitor's window
    };
    const struct {
        const char* name;
        std::vector<Msg> messages;
        bool closes;
    } cases[] = {
        {"activated", {{WM_ACTIVATE, WA_ACTIVE, 0}}, false},
        {"activated by a click", {{WM_ACTIVATE, WA_CLICKACTIVE, 0}}, false},
        {"its application activated", {{WM_ACTIVATEAPP, TRUE, 0}}, false},
        {"the first move only records", {{WM_MOUSEMOVE, 0, MAKELPARAM(0, 0)}}, false},
        {"a move to the recorded point",
         {{WM_MOUSEMOVE, 0, MAKELPARAM(0, 0)}, {WM_MOUSEMOVE, 0, MAKELPARAM(0, 0)}},
         false},
        {"button released", {{WM_LBUTTONUP, 0, 0}}, false},
        {"key released", {{WM_KEYUP, 0, 0}}, false},
        {"character", {{WM_CHAR, 0, 0}}, false},
        {"wheel", {{WM_MOUSEWHEEL, 0, 0}}, false},
        {"system key released", {{WM_SYSKEYUP, 0, 0}}, false},
        {"activation lost", {{WM_ACTIVATE, WA_INACTIVE, 0}}, true},
        {"another application activated", {{WM_ACTIVATEAPP, FALSE, 0}}, true},
        {"one pixel along y",
         {{WM_MOUSEMOVE, 0, MAKELPARAM(0, 0)}, {WM_MOUSEMOVE, 0, MAKELPARAM(0, 1)}},
         true},
        {"one pixel along x",
         {{WM_MOUSEMOVE, 0, MAKELPARAM(300, 200)}, {WM_MOUSEMOVE, 0, MAKELPARAM(301, 200)}},
         true},
        {"the same screen point reported by the other monitor's window",
         {{WM_MOUSEMOVE, 0, MAKELPARAM(0, 0)}, {WM_MOUSEMOVE, 0, MAKELPARAM(320, 200), true}},
         false},
        {"first report on one monitor, a move on the other",
         {{WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)}, {WM_MOUSEMOVE, 0, MAKELPARAM(100, 100), true}},
         true},
        {"a move on the other monitor only",
         {{WM_MOUSEMOVE, 0, MAKELPARAM(100, 100), true}, {WM_MOUSEMOVE, 0, MAKELPARAM(100, 101), true}},
         true},
        {"resting at the screen's (-1, -1), then a move",
         {{WM_MOUSEMOVE, 0, MAKELPARAM(319, 199), true}, {WM_MOUSEMOVE, 0, MAKELPARAM(325, 205), true}},
         true},
        {"a key on the other monitor's window", {{WM_KEYDOWN, 0, 0, true}}, true},
        {"left button", {{WM_LBUTTONDOWN, 0, 0}}, true},
        {"middle button", {{WM_MBUTTONDOWN, 0, 0}}, true},
        {"right button", {{WM_RBUTTONDOWN, 0, 0}}, true},
        {"key", {{WM_KEYDOWN, 0, 0}}, true},
        {"system key", {{WM_SYSKEYDOWN, 0, 0}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A saver is made anew only after one closed: each costs Wine seconds to take down.
        if (!::IsWindow(m_hWnd))
            SetUp();
        m_pGroup->m_ptFirstMouse.reset();
        const auto target = [&](const Msg& m) { return m.left ? m_hWndLeft : m_hWnd; };
        for (std::size_t i = 0; i + 1 < c.messages.size(); ++i) {
            const Msg& m = c.messages[i];
            ASSERT_FALSE(ClosesAfter(target(m), m.msg, m.wParam, m.lParam));
        }
        const Msg& last = c.messages.back();
        EXPECT_EQ(ClosesAfter(target(last), last.msg, last.wParam, last.lParam), c.closes);
        // A close takes both windows down, each once.
        EXPECT_EQ(::IsWindow(m_hWndLeft) == FALSE, c.closes);
        EXPECT_EQ(g_destroyed, c.closes ? 2 : 0);
    }
}

// Every call to PostQuitMessage, by its code; the queue would hold one quit however many came.
std::vector<int> g_quitCodes;
CImportHook* g_pQuitHook = nullptr;

void WINAPI RecordPostQuit(int nExitCode) {
    g_quitCodes.push_back(nExitCode);
    g_pQuitHook->Original<decltype(&::PostQuitMessage)>()(nExitCode);
}

TEST_F(SaverWndTest, SeveralTriggersEndItOnce) {
    CImportHook quitHook("USER32.dll", "PostQuitMessage", reinterpret_cast<void*>(&RecordPostQuit));
    ASSERT_TRUE(quitHook.Installed());
    g_pQuitHook = &quitHook;
    g_quitCodes.clear();
    ::SendMessageA(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ::SendMessageA(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    ::SendMessageA(m_hWnd, WM_LBUTTONDOWN, 0, 0);
    ::SendMessageA(m_hWndLeft, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(m_hWnd, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(::IsWindow(m_hWnd)) << "closing must go through the queue";
    // Each of the four closing triggers posted its close; all four are delivered.
    std::vector<MSG> closes;
    MSG msg;
    for (const HWND hWnd : {m_hWnd, m_hWndLeft})
        while (::PeekMessageA(&msg, hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE))
            closes.push_back(msg);
    EXPECT_EQ(closes.size(), 4u);
    for (const MSG& close : closes)
        ::DispatchMessageA(&close);
    EXPECT_FALSE(::IsWindow(m_hWnd));
    EXPECT_FALSE(::IsWindow(m_hWndLeft));
    EXPECT_TRUE(m_pGroup->Windows().empty());
    EXPECT_EQ(g_destroyed, 2);
    // The group alone ends the message loop, once, with code 0.
    EXPECT_EQ(g_quitCodes, std::vector<int>({0}));
}

// Activation moving between the saver's own windows keeps it; another window taking it ends it.
TEST_F(SaverWndTest, OnlyActivationLeavingItsWindowsEndsIt) {
    ::SetActiveWindow(m_hWndLeft);
    PumpMessages(50);
    ::SetActiveWindow(m_hWnd);
    PumpMessages(50);
    ASSERT_TRUE(::IsWindow(m_hWnd) && ::IsWindow(m_hWndLeft));
    EXPECT_EQ(g_destroyed, 0);
    const HWND hWndOther = ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0,
                                             50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hWndOther, nullptr);
    ::SetActiveWindow(hWndOther);
    PumpUntil([&] { return !::IsWindow(m_hWnd); }, 5000);
    EXPECT_FALSE(::IsWindow(m_hWnd));
    EXPECT_FALSE(::IsWindow(m_hWndLeft));
    ::DestroyWindow(hWndOther);
}

// A window taken down from outside would leave its monitor uncovered: the saver ends whole.
TEST_F(SaverWndTest, AWindowTakenDownFromOutsideEndsItWhole) {
    ::DestroyWindow(m_hWndLeft);
    EXPECT_FALSE(::IsWindow(m_hWnd));
    EXPECT_EQ(g_destroyed, 2);
    EXPECT_TRUE(HasQuit());
}

} // namespace
