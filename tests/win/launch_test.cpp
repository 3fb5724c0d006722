// The saver's launch step and the settings path, in-process. The preview, which needs a host
// window, is checked end to end by launch_host.
#include <gtest/gtest.h>

#include <string>

#include "app/countdown_app.h"
#include "fw/afxwin.h"
#include "win/test_app.h"

namespace {

void DrainQuit() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
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
    wchar_t module[MAX_PATH];
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring expected(module);
    expected = expected.substr(0, expected.rfind(L'.')) + L".ini";
    EXPECT_EQ(std::wstring(TestApp().m_strProfilePath.get()), expected);
}

// Windows starts the saver at idle by its short path and from the Display settings by its long
// one (Wine reports the long path however it was started, so the short one is made here).
TEST(LaunchTest, ShortAndLongProgramPathsShareOneSettingsFile) {
    CTempDir dir;
    WriteFileBytes(dir.File("Kestrovin.scr"), "");
    const std::wstring program = AfxToWide(dir.File("Kestrovin.scr").c_str());
    wchar_t shortPath[MAX_PATH];
    ASSERT_GT(::GetShortPathNameW(program.c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortPath), program) << "no 8.3 names here";
    ASSERT_TRUE(TestApp().FixProfilePath());

    TestApp().FixProfilePathFor(shortPath);
    TestApp().m_strTitle = "saved at idle";
    ASSERT_TRUE(TestApp().SaveSettings());
    TestApp().FixProfilePathFor(program.c_str());
    TestApp().LoadSettings();
    EXPECT_EQ(std::string(TestApp().m_strTitle), "saved at idle");
    EXPECT_EQ(std::wstring(TestApp().m_strProfilePath.get()), AfxToWide(dir.File("Kestrovin.ini").c_str()));
}

} // namespace
