// The full-screen saver window: what closes it, what it holds off, and its single destruction.
#include <gtest/gtest.h>

#include <vector>

#include "display/saver_wnd.h"
#include "win/import_hook.h"
#include "win/test_app.h"

namespace {

int g_destroyed = 0;

class CCountedSaver : public CSaverWnd {
public:
    ~CCountedSaver() override { ++g_destroyed; }
};

class SaverWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_destroyed = 0;
        m_pWnd = new CCountedSaver;
        ASSERT_TRUE(m_pWnd->CreateFullScreen());
        m_hWnd = m_pWnd->m_hWnd;
        TestApp().m_pMainWnd = m_pWnd;
        // The system moves the pointer into a new window once: wait for that first position to be
        // recorded, then start from none.
        ASSERT_TRUE(
            PumpUntil([&] { return m_pWnd->m_ptFirstMouse.x != -1 || m_pWnd->m_ptFirstMouse.y != -1; }, 5000))
            << "no pointer position came";
        ASSERT_TRUE(::IsWindow(m_hWnd)) << "the saver closed by itself";
        m_pWnd->m_ptFirstMouse = POINT{-1, -1};
    }
    void TearDown() override {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
        TestApp().m_pMainWnd = nullptr;
        // Quit messages of the destruction must not reach later tests.
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    bool ClosesAfter(UINT msg, WPARAM wParam, LPARAM lParam) {
        ::SendMessageA(m_hWnd, msg, wParam, lParam);
        PumpMessages(30);
        return !::IsWindow(m_hWnd);
    }

    CCountedSaver* m_pWnd = nullptr;
    HWND m_hWnd = nullptr;
};

TEST_F(SaverWndTest, CoversThePrimaryScreenAboveEverything) {
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.right, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rc.bottom, ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)) & (WS_POPUP | WS_VISIBLE),
              static_cast<DWORD>(WS_POPUP | WS_VISIBLE));
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
        m_pWnd->m_ptFirstMouse = POINT{-1, -1};
        for (std::size_t i = 0; i + 1 < c.messages.size(); ++i)
            ASSERT_FALSE(ClosesAfter(c.messages[i].msg, c.messages[i].wParam, c.messages[i].lParam));
        const Msg& last = c.messages.back();
        EXPECT_EQ(ClosesAfter(last.msg, last.wParam, last.lParam), c.closes);
        EXPECT_EQ(g_destroyed, c.closes ? 1 : 0);
    }
}

// Every call to PostQuitMessage, by its code; the queue would hold one quit however many came.
std::vector<int> g_quitCodes;
CImportHook* g_pQuitHook = nullptr;

void WINAPI RecordPostQuit(int nExitCode) {
    g_quitCodes.push_back(nExitCode);
    g_pQuitHook->Original<decltype(&::PostQuitMessage)>()(nExitCode);
}

TEST_F(SaverWndTest, SeveralTriggersDestroyOnce) {
    CImportHook quitHook("USER32.dll", "PostQuitMessage", reinterpret_cast<void*>(&RecordPostQuit));
    ASSERT_TRUE(quitHook.Installed());
    g_pQuitHook = &quitHook;
    g_quitCodes.clear();
    ::SendMessageA(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ::SendMessageA(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    ::SendMessageA(m_hWnd, WM_LBUTTONDOWN, 0, 0);
    ::SendMessageA(m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(m_hWnd, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(::IsWindow(m_hWnd)) << "closing must go through the queue";
    // Each of the four closing triggers posted its close; all four are delivered.
    std::vector<MSG> closes;
    MSG msg;
    while (::PeekMessageA(&msg, m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        closes.push_back(msg);
    EXPECT_EQ(closes.size(), 4u);
    for (const MSG& close : closes)
        ::DispatchMessageA(&close);
    EXPECT_FALSE(::IsWindow(m_hWnd));
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_EQ(TestApp().m_pMainWnd, nullptr);
    // WM_DESTROY and the main window's end each ask to quit once, with code 0.
    EXPECT_EQ(g_quitCodes, std::vector<int>({0, 0}));
}

} // namespace
