// The full-screen saver window: what closes it, what it holds off, and its single destruction.
#include <gtest/gtest.h>

#include "display/saver_wnd.h"
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
        // Let the system deliver what it sends a new window, then start from no recorded position.
        PumpMessages(50);
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
    int CountQuitMessages() {
        int n = 0;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            EXPECT_EQ(msg.wParam, 0u);
            ++n;
        }
        return n;
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
    // Other commands reach default processing: minimising does minimise.
    ::SendMessageA(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsIconic(m_hWnd) || !::IsWindow(m_hWnd));
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

TEST_F(SaverWndTest, ActivationStatesOneAndTwoDoNotClose) {
    EXPECT_FALSE(ClosesAfter(WM_ACTIVATE, WA_ACTIVE, 0));
    EXPECT_FALSE(ClosesAfter(WM_ACTIVATE, WA_CLICKACTIVE, 0));
    EXPECT_FALSE(ClosesAfter(WM_ACTIVATEAPP, TRUE, 0));
}

TEST_F(SaverWndTest, LostActivationCloses) {
    EXPECT_TRUE(ClosesAfter(WM_ACTIVATE, WA_INACTIVE, 0));
}

TEST_F(SaverWndTest, AnotherApplicationActivatedCloses) {
    EXPECT_TRUE(ClosesAfter(WM_ACTIVATEAPP, FALSE, 0));
}

TEST_F(SaverWndTest, TheFirstMoveOnlyRecords) {
    EXPECT_FALSE(ClosesAfter(WM_MOUSEMOVE, 0, MAKELPARAM(0, 0)));
    EXPECT_EQ(m_pWnd->m_ptFirstMouse.x, 0);
    EXPECT_EQ(m_pWnd->m_ptFirstMouse.y, 0);
    EXPECT_FALSE(ClosesAfter(WM_MOUSEMOVE, 0, MAKELPARAM(0, 0)));
    EXPECT_TRUE(ClosesAfter(WM_MOUSEMOVE, 0, MAKELPARAM(0, 1)));
}

TEST_F(SaverWndTest, OnePixelAlongXCloses) {
    EXPECT_FALSE(ClosesAfter(WM_MOUSEMOVE, 0, MAKELPARAM(300, 200)));
    EXPECT_TRUE(ClosesAfter(WM_MOUSEMOVE, 0, MAKELPARAM(301, 200)));
}

TEST_F(SaverWndTest, ButtonsAndKeysClose) {
    const UINT inputs[] = {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN, WM_KEYDOWN, WM_SYSKEYDOWN};
    for (const UINT msg : inputs) {
        if (!::IsWindow(m_hWnd))
            SetUp();
        EXPECT_TRUE(ClosesAfter(msg, 0, 0)) << msg;
        EXPECT_EQ(g_destroyed, 1) << msg;
    }
}

TEST_F(SaverWndTest, MessagesOutsideTheMapDoNotClose) {
    for (const UINT msg : {WM_LBUTTONUP, WM_KEYUP, WM_CHAR, WM_MOUSEWHEEL, WM_SYSKEYUP})
        EXPECT_FALSE(ClosesAfter(msg, 0, 0)) << msg;
}

TEST_F(SaverWndTest, SeveralTriggersDestroyOnce) {
    ::SendMessageA(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ::SendMessageA(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    ::SendMessageA(m_hWnd, WM_LBUTTONDOWN, 0, 0);
    ::SendMessageA(m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(m_hWnd, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(::IsWindow(m_hWnd)) << "closing must go through the queue";
    MSG msg;
    int closes = 0;
    while (::PeekMessageA(&msg, m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE)) {
        ++closes;
        ::DispatchMessageA(&msg);
    }
    EXPECT_GE(closes, 1);
    EXPECT_FALSE(::IsWindow(m_hWnd));
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_EQ(TestApp().m_pMainWnd, nullptr);
    // One quit from WM_DESTROY, one from the main window's end: both with code 0.
    EXPECT_GE(CountQuitMessages(), 1);
}

} // namespace
