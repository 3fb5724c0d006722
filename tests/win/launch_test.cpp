// The preview and saver launch steps in-process: no host, a bad host, a real host.
#include <gtest/gtest.h>

#include <string>

#include "app/countdown_app.h"
#include "fw/afxwin.h"
#include "win/test_app.h"

namespace {

HWND MakeHost(int cx, int cy) {
    return ::CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 10, 10, cx, cy, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

void DrainQuit() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

TEST(LaunchTest, PreviewWithoutAUsableHostEndsAtOnce) {
    const HWND gone = MakeHost(20, 20);
    ::DestroyWindow(gone);
    const std::string goneText = std::to_string(reinterpret_cast<std::uintptr_t>(gone));
    for (const char* arg :
         {static_cast<const char*>(nullptr), "", "0", "abc", "-", goneText.c_str(), "123456789"}) {
        TestApp().m_pMainWnd = nullptr;
        EXPECT_FALSE(TestApp().StartPreview(arg)) << (arg ? arg : "(none)");
        EXPECT_EQ(TestApp().m_pMainWnd, nullptr);
    }
}

TEST(LaunchTest, PreviewFillsTheHostAndEndsWithIt) {
    const HWND hHost = MakeHost(152, 112);
    ASSERT_NE(hHost, nullptr);
    const std::string handle = std::to_string(reinterpret_cast<std::uintptr_t>(hHost));
    ASSERT_TRUE(TestApp().StartPreview(handle.c_str()));
    CWnd* pMain = TestApp().m_pMainWnd;
    ASSERT_NE(pMain, nullptr);
    EXPECT_EQ(::GetParent(pMain->m_hWnd), hHost);
    RECT rc{};
    ::GetClientRect(pMain->m_hWnd, &rc);
    EXPECT_EQ(rc.right, 152);
    EXPECT_EQ(rc.bottom, 112);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(pMain->m_hWnd, GWL_STYLE)) & (WS_CHILD | WS_VISIBLE),
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
    DrainQuit();
    ::DestroyWindow(hHost);
    EXPECT_EQ(TestApp().m_pMainWnd, nullptr);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

TEST(LaunchTest, SaverBecomesTheMainWindow) {
    ASSERT_TRUE(TestApp().StartSaver());
    CWnd* pMain = TestApp().m_pMainWnd;
    ASSERT_NE(pMain, nullptr);
    ::DestroyWindow(pMain->m_hWnd);
    EXPECT_EQ(TestApp().m_pMainWnd, nullptr);
    DrainQuit();
}

TEST(LaunchTest, SettingsPathLiesBesideTheProgram) {
    ASSERT_TRUE(TestApp().FixProfilePath());
    char module[MAX_PATH];
    ::GetModuleFileNameA(nullptr, module, sizeof module);
    std::string expected(module);
    expected = expected.substr(0, expected.rfind('.')) + ".ini";
    EXPECT_EQ(std::string(TestApp().m_strProfilePath.get()), expected);
}

} // namespace
