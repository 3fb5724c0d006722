// The About dialog: which windows get the hand cursor, the blue colour and the link font, and
// the shell calls of the two links (watched, so no mail program or browser starts).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "ui/about_dlg.h"
#include "win/dialog_driver.h"
#include "win/gdi_probe.h"
#include "win/test_app.h"

namespace {

// Set for the second run, to the DPI it must see.
const char kTestDpiVariable[] = "KESTROVIN_TEST_DPI";

struct ShellCall {
    HWND owner;
    bool verbIsNull;
    std::string file;
    bool paramsAndDirNull;
    INT show;
};
std::vector<ShellCall> g_shellCalls;

HINSTANCE WINAPI RecordShellExecute(HWND hWnd, LPCWSTR verb, LPCWSTR file, LPCWSTR params, LPCWSTR dir,
                                    INT show) {
    g_shellCalls.push_back({hWnd, verb == nullptr, file ? std::string(CW2A(file)) : "",
                            params == nullptr && dir == nullptr, show});
    return reinterpret_cast<HINSTANCE>(2); // "file not found": nothing is reported either way
}

// The windows of the dialog other than the links: OK, the two labels, the rule and the icon.
std::vector<HWND> OtherChildren(HWND hDlg) {
    std::vector<HWND> result;
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(h);
        if (id != IDC_MAIL_LINK && id != IDC_WEB_LINK)
            result.push_back(h);
    }
    return result;
}

// The system's DPI; under Wine every monitor has it.
int ScreenDpi() {
    const HDC hDC = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(hDC, LOGPIXELSY);
    ::ReleaseDC(nullptr, hDC);
    return dpi;
}

// The width and height of a window's text in a font.
SIZE TextExtent(HWND hWnd, HFONT hFont) {
    const std::wstring text(CA2W(WindowText(hWnd).c_str()));
    const HDC hDC = ::GetDC(hWnd);
    const HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    SIZE extent{};
    ::GetTextExtentPoint32W(hDC, text.c_str(), static_cast<int>(text.size()), &extent);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(hWnd, hDC);
    return extent;
}

// The link font as the dialog would make it at 96 DPI.
HFONT LinkFontAt96Dpi() {
    return ::CreateFontW(CAboutDlg::kLinkFontHeight, 0, 0, 0, FW_DONTCARE, FALSE, TRUE, FALSE,
                         SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ Ｐゴシック");
}

class AboutDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_shellCalls.clear();
        m_pfnSaved = CAboutDlg::s_pfnShellExecute;
        CAboutDlg::s_pfnShellExecute = &RecordShellExecute;
    }
    void TearDown() override { CAboutDlg::s_pfnShellExecute = m_pfnSaved; }

    CAboutDlg::ShellExecuteFn m_pfnSaved = nullptr;

    // Runs a fresh About dialog with one step, then closes it with OK.
    void Run(const std::function<void(HWND, CAboutDlg&)>& check) {
        CAboutDlg dlg;
        const std::size_t steps =
            DriveDialogs([&] { EXPECT_EQ(dlg.DoModal(), IDOK); }, {{kAboutCaption, [&](HWND hDlg) {
                                                                        check(hDlg, dlg);
                                                                        Click(hDlg, IDOK);
                                                                    }}});
        EXPECT_EQ(steps, 1u);
    }
};

TEST_F(AboutDlgTest, HandCursorOverTheLinksOnly) {
    Run([](HWND hDlg, CAboutDlg&) {
        const HCURSOR hHand = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_CURSOR));
        ASSERT_TRUE(hHand);
        const LPARAM lp = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
        for (int id : {IDC_MAIL_LINK, IDC_WEB_LINK}) {
            ::SetCursor(nullptr);
            EXPECT_TRUE(
                ::SendMessageA(hDlg, WM_SETCURSOR, reinterpret_cast<WPARAM>(::GetDlgItem(hDlg, id)), lp));
            EXPECT_EQ(::GetCursor(), hHand) << id;
        }
        std::vector<HWND> others = OtherChildren(hDlg);
        ASSERT_EQ(others.size(), 5u);
        others.push_back(hDlg);
        // Elsewhere default processing sets the dialog's class cursor, the arrow: starting from the
        // hand, a handler that set no cursor at all would leave the hand showing.
        const HCURSOR hArrow = ::LoadCursorA(nullptr, IDC_ARROW);
        for (HWND h : others) {
            ::SetCursor(hHand);
            ::SendMessageA(hDlg, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), lp);
            EXPECT_EQ(::GetCursor(), hArrow) << ::GetDlgCtrlID(h);
        }
    });
}

TEST_F(AboutDlgTest, OnlyTheLinksAreBlueTransparentAndUnderlined) {
    Run([](HWND hDlg, CAboutDlg&) {
        CPixelTarget target(4, 4);
        const HDC hDC = target.Dc();
        auto colour = [&](HWND hCtl, UINT msg) {
            ::SetTextColor(hDC, RGB(1, 2, 3));
            ::SetBkMode(hDC, OPAQUE);
            const auto hBrush =
                ::SendMessageA(hDlg, msg, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hCtl));
            return std::make_pair(hBrush, std::make_pair(::GetTextColor(hDC), ::GetBkMode(hDC)));
        };
        const HWND hVersion = OtherChildren(hDlg)[2];
        const auto base = colour(hVersion, WM_CTLCOLORSTATIC);
        EXPECT_NE(base.second.first, 0x00FF0000u);
        EXPECT_NE(base.second.second, TRANSPARENT);
        for (int id : {IDC_MAIL_LINK, IDC_WEB_LINK}) {
            const auto link = colour(::GetDlgItem(hDlg, id), WM_CTLCOLORSTATIC);
            EXPECT_EQ(link.second.first, 0x00FF0000u) << id;
            EXPECT_EQ(link.second.second, TRANSPARENT) << id;
            EXPECT_EQ(link.first, base.first) << "the base brush, unchanged";
            // Another colour type for the same window gets only the base colouring.
            EXPECT_NE(colour(::GetDlgItem(hDlg, id), WM_CTLCOLORBTN).second.first, 0x00FF0000u) << id;
        }

        auto font = [&](HWND h) {
            LOGFONTW lf{};
            ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0)), sizeof lf, &lf);
            return lf;
        };
        for (int id : {IDC_MAIL_LINK, IDC_WEB_LINK}) {
            const LOGFONTW lf = font(::GetDlgItem(hDlg, id));
            EXPECT_TRUE(lf.lfUnderline) << id;
            EXPECT_EQ(lf.lfHeight, ::MulDiv(12, ScreenDpi(), 96)) << id;
            EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET) << id;
            EXPECT_EQ(std::wstring(lf.lfFaceName), L"ＭＳ Ｐゴシック") << id;
        }
        for (HWND h : OtherChildren(hDlg))
            EXPECT_FALSE(font(h).lfUnderline) << ::GetDlgCtrlID(h);
    });
}

TEST_F(AboutDlgTest, EachClickHandsTheTargetToTheShell) {
    Run([](HWND hDlg, CAboutDlg&) {
        for (int i = 0; i < 2; ++i) {
            Click(hDlg, IDC_MAIL_LINK, STN_CLICKED);
            Click(hDlg, IDC_WEB_LINK, STN_CLICKED);
        }
        EXPECT_TRUE(::IsWindowVisible(hDlg));
        ASSERT_EQ(g_shellCalls.size(), 4u);
        for (std::size_t i = 0; i < g_shellCalls.size(); ++i) {
            const ShellCall& c = g_shellCalls[i];
            EXPECT_EQ(c.owner, hDlg);
            EXPECT_TRUE(c.verbIsNull);
            EXPECT_TRUE(c.paramsAndDirNull);
            EXPECT_EQ(c.show, SW_SHOWNORMAL);
            EXPECT_EQ(c.file, i % 2 == 0 ? kMailTarget : kWebTarget);
        }
        // Each target is the address its link shows.
        const std::string mail = WindowText(::GetDlgItem(hDlg, IDC_MAIL_LINK));
        const std::string web = WindowText(::GetDlgItem(hDlg, IDC_WEB_LINK));
        EXPECT_EQ(mail, "EMail : " + std::string(kMailTarget).substr(7));
        EXPECT_EQ(web, "URL  : " + std::string(kWebTarget));
    });
}

// The links' font scales as the dialog's does: their texts widen with the DPI and still fit
// their statics, which the dialog manager scales. A link that wraps loses its second line below the
// static's bottom edge.
TEST_F(AboutDlgTest, EachLinkTextFitsItsStaticOnOneLine) {
    Run([](HWND hDlg, CAboutDlg& dlg) {
        const HFONT hFont96 = LinkFontAt96Dpi();
        // The width of a link's text in its font, in units of its width at 96 DPI.
        auto widthRatio = [&](HWND hLink) {
            const HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(hLink, WM_GETFONT, 0, 0));
            EXPECT_EQ(hFont, dlg.m_fontLink.GetSafeHandle());
            return static_cast<double>(TextExtent(hLink, hFont).cx) / TextExtent(hLink, hFont96).cx;
        };
        const int dpi = ScreenDpi();
        // The run at 144 DPI must really be at 144 DPI: at 96 every ratio below is trivially 1.
        char expected[8] = "";
        if (::GetEnvironmentVariableA(kTestDpiVariable, expected, sizeof expected)) {
            ASSERT_EQ(dpi, std::atoi(expected)) << "the system DPI did not change";
        }
        for (int id : {IDC_MAIL_LINK, IDC_WEB_LINK}) {
            const HWND hLink = ::GetDlgItem(hDlg, id);
            RECT rc{};
            ::GetClientRect(hLink, &rc);
            const SIZE extent = TextExtent(hLink, dlg.m_fontLink.GetSafeHandle());
            std::printf("link %d at %d DPI: %ld x %ld in a static of %ld x %ld\n", id, dpi, extent.cx,
                        extent.cy, rc.right, rc.bottom);
            EXPECT_NEAR(widthRatio(hLink), dpi / 96.0, 0.06) << id;
            EXPECT_LE(extent.cx, rc.right) << id;
            EXPECT_LE(extent.cy, rc.bottom) << id;
        }
        // Moved to a monitor of one and a half times the DPI: where the dialog manager does not
        // rescale the dialog (per-monitor v1, and Wine), the links keep the size of the text
        // around them; where it does (per-monitor v2: it gives the controls a font of the new
        // size), they follow.
        const int moved = dpi * 3 / 2;
        RECT rcDlg{};
        ::GetWindowRect(hDlg, &rcDlg);
        const auto move = [&] {
            ::SendMessageA(hDlg, WM_DPICHANGED, MAKEWPARAM(moved, moved), reinterpret_cast<LPARAM>(&rcDlg));
        };
        move();
        for (int id : {IDC_MAIL_LINK, IDC_WEB_LINK})
            EXPECT_NEAR(widthRatio(::GetDlgItem(hDlg, id)), dpi / 96.0, 0.06) << id;
        LOGFONTW lf{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendDlgItemMessageW(hDlg, IDOK, WM_GETFONT, 0, 0)), sizeof lf,
                     &lf);
        lf.lfHeight = -::MulDiv(9, moved, 72);
        const HFONT hRescaled = ::CreateFontIndirectW(&lf);
        ::SendDlgItemMessageA(hDlg, IDOK, WM_SETFONT, reinterpret_cast<WPARAM>(hRescaled), FALSE);
        move();
        for (int id : {IDC_MAIL_LINK, IDC_WEB_LINK})
            EXPECT_NEAR(widthRatio(::GetDlgItem(hDlg, id)), moved / 96.0, 0.06) << id;
        ::SendDlgItemMessageA(hDlg, IDOK, WM_SETFONT, 0, FALSE);
        ::DeleteObject(hRescaled);
        ::DeleteObject(hFont96);
    });
}

// Sets the prefix's DPI for the programs started from now on, and puts back what was there on
// every way out of the test, so that no other program of the prefix runs at 144 DPI.
class CScopedLogPixels {
public:
    explicit CScopedLogPixels(DWORD dpi) {
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &m_hKey, nullptr) != ERROR_SUCCESS) {
            m_hKey = nullptr;
            return;
        }
        DWORD size = sizeof m_saved;
        m_bHadValue = ::RegQueryValueExA(m_hKey, kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&m_saved),
                                         &size) == ERROR_SUCCESS;
        m_bSet = ::RegSetValueExA(m_hKey, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                                  sizeof dpi) == ERROR_SUCCESS;
    }
    ~CScopedLogPixels() {
        if (!m_hKey)
            return;
        if (m_bHadValue)
            ::RegSetValueExA(m_hKey, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_saved),
                             sizeof m_saved);
        else
            ::RegDeleteValueA(m_hKey, kValue);
        ::RegCloseKey(m_hKey);
    }
    CScopedLogPixels(const CScopedLogPixels&) = delete;
    CScopedLogPixels& operator=(const CScopedLogPixels&) = delete;
    bool IsSet() const { return m_bSet; }

private:
    static constexpr const char* kValue = "LogPixels";
    HKEY m_hKey = nullptr;
    DWORD m_saved = 0;
    bool m_bHadValue = false;
    bool m_bSet = false;
};

// Runs this program again with the system at 144 DPI, on the About tests that look at sizes.
TEST_F(AboutDlgTest, At144DpiTheLinksScaleWithTheDialog) {
    if (::GetEnvironmentVariableA(kTestDpiVariable, nullptr, 0))
        GTEST_SKIP() << "this is the run at " << ScreenDpi() << " DPI";
    ASSERT_EQ(ScreenDpi(), 96) << "the prefix is not at 96 DPI; did a run at 144 DPI end early?";
    const DWORD dpi = 144;
    const CScopedLogPixels logPixels(dpi);
    ASSERT_TRUE(logPixels.IsSet());
    char module[MAX_PATH];
    ::GetModuleFileNameA(nullptr, module, sizeof module);
    std::string command = std::string("\"") + module +
                          "\" --gtest_filter=AboutDlgTest.EachLinkTextFits*:AboutDlgTest.OnlyTheLinks*";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ::SetEnvironmentVariableA(kTestDpiVariable, std::to_string(dpi).c_str());
    const BOOL started =
        ::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    ::SetEnvironmentVariableA(kTestDpiVariable, nullptr);
    ASSERT_TRUE(started);
    DWORD code = 1;
    const bool ended = ::WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0;
    if (!ended) {
        // A run that hangs must not outlive the test, nor keep its dialog open on the display.
        ::TerminateProcess(pi.hProcess, 1);
        ::WaitForSingleObject(pi.hProcess, 10000);
    }
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    EXPECT_TRUE(ended) << "the About tests at 144 DPI did not end within two minutes";
    EXPECT_EQ(code, 0u) << "the About tests at 144 DPI failed";
}

TEST_F(AboutDlgTest, OnlyOkTakesTheFocusAndTheFontDiesWithTheDialog) {
    HFONT hFont = nullptr;
    Run([&](HWND hDlg, CAboutDlg& dlg) {
        const HWND hOk = ::GetDlgItem(hDlg, IDOK);
        EXPECT_EQ(::GetFocus(), hOk);
        EXPECT_EQ(::GetNextDlgTabItem(hDlg, hOk, FALSE), hOk);
        EXPECT_EQ(dlg.m_ctlMailLink.m_hWnd, ::GetDlgItem(hDlg, IDC_MAIL_LINK));
        EXPECT_EQ(dlg.m_ctlWebLink.m_hWnd, ::GetDlgItem(hDlg, IDC_WEB_LINK));
        hFont = dlg.m_fontLink.GetSafeHandle();
        EXPECT_EQ(::GetObjectType(hFont), static_cast<DWORD>(OBJ_FONT));
    });
    ASSERT_TRUE(hFont);
    EXPECT_EQ(::GetObjectType(hFont), 0u);
}

} // namespace
