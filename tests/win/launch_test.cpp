// The saver's launch step, the settings path and the failure boxes' texts, in-process. The
// preview, which needs a host window, is checked end to end by launch_host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/countdown_app.h"
#include "display/saver_group.h"
#include "fw/afxwin.h"
#include "win/import_hook.h"
#include "win/test_app.h"

namespace {

// One window a monitor, none of them the main window: their group ends the loop.
TEST(LaunchTest, SaverCoversEveryMonitor) {
    ASSERT_TRUE(TestApp().StartSaver());
    EXPECT_EQ(TestApp().m_pMainWnd, nullptr);
    ASSERT_NE(TestApp().m_pSaver, nullptr);
    EXPECT_EQ(TestApp().m_pSaver->Windows().size(), CSaverGroup::EnumMonitors().size());
    TestApp().m_pSaver.reset();
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
// one (Wine reports the long path however it was started, so the short one is made here). Both
// give one settings file, the program's own name in its boxes' captions and one help file.
TEST(LaunchTest, ShortAndLongProgramPathsShareOneNameAndSettingsFile) {
    CTempDir dir;
    WriteFileBytes(dir.File("Kestrovin.scr"), "");
    const std::wstring program = AfxToWide(dir.File("Kestrovin.scr").c_str());
    wchar_t shortPath[MAX_PATH];
    ASSERT_GT(::GetShortPathNameW(program.c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortPath), program) << "no 8.3 names here";
    const std::wstring ownPath = TestApp().m_strModulePath;

    TestApp().SetModulePath(shortPath);
    EXPECT_EQ(TestApp().m_strModulePath, program);
    EXPECT_EQ(std::string(TestApp().m_pszAppName), "Kestrovin");
    EXPECT_EQ(TestApp().m_strHelpPath, AfxToWide(dir.File("Kestrovin.HLP").c_str()));
    ASSERT_TRUE(TestApp().FixProfilePath());
    TestApp().m_strTitle = "saved at idle";
    ASSERT_TRUE(TestApp().SaveSettings());
    TestApp().SetModulePath(program.c_str());
    ASSERT_TRUE(TestApp().FixProfilePath());
    TestApp().LoadSettings();
    EXPECT_EQ(std::string(TestApp().m_strTitle), "saved at idle");
    EXPECT_EQ(std::wstring(TestApp().m_strProfilePath.get()), AfxToWide(dir.File("Kestrovin.ini").c_str()));

    // A path without a long form (the file is gone) serves as given; none at all gives no
    // settings file.
    const std::wstring gone = AfxToWide(dir.File("Gone.scr").c_str());
    TestApp().SetModulePath(gone.c_str());
    EXPECT_EQ(TestApp().m_strModulePath, gone);
    EXPECT_EQ(std::string(TestApp().m_pszAppName), "Gone");
    TestApp().SetModulePath(L"");
    ASSERT_TRUE(TestApp().FixProfilePath());
    EXPECT_EQ(std::wstring(TestApp().m_strProfilePath.get()), L"");

    TestApp().SetModulePath(ownPath.c_str());
    ASSERT_TRUE(TestApp().FixProfilePath());
}

std::vector<std::pair<std::wstring, std::wstring>> g_boxes; // text, caption

int WINAPI RecordMessageBox(HWND, LPCWSTR pszText, LPCWSTR pszCaption, UINT) {
    g_boxes.emplace_back(pszText ? pszText : L"", pszCaption ? pszCaption : L"");
    return IDOK;
}

// A failure box shows its Japanese text and the program's name whatever the ANSI code page.
TEST(LaunchTest, MessageBoxesShowTheirJapaneseTexts) {
    CImportHook hook("USER32.dll", "MessageBoxW", reinterpret_cast<void*>(&RecordMessageBox));
    ASSERT_TRUE(hook.Installed());
    g_boxes.clear();
    const CString savedName = TestApp().m_pszAppName;
    TestApp().m_pszAppName = "カウント";
    CWnd wnd;
    wnd.MessageBox("失敗:CreateCompatibleDC");
    TestApp().CWinApp::DoMessageBox("設定を保存できませんでした。", MB_OK);
    TestApp().m_pszAppName = savedName;
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[0].first, L"失敗:CreateCompatibleDC");
    EXPECT_EQ(g_boxes[0].second, L"カウント");
    EXPECT_EQ(g_boxes[1].first, L"設定を保存できませんでした。");
    EXPECT_EQ(g_boxes[1].second, L"カウント");
}

} // namespace
