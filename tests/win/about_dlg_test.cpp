// The About dialog: which windows get the hand cursor, the blue colour and the link font, and
// the shell calls of the two links (watched, so no mail program or browser starts).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "ui/about_dlg.h"
#include "win/dialog_driver.h"
#include "win/gdi_probe.h"
#include "win/test_app.h"

namespace {

struct ShellCall {
    HWND owner;
    bool verbIsNull;
    std::string file;
    bool paramsAndDirNull;
    INT show;
};
std::vector<ShellCall> g_shellCalls;

HINSTANCE WINAPI RecordShellExecute(HWND hWnd, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir,
                                    INT show) {
    g_shellCalls.push_back(
        {hWnd, verb == nullptr, file ? file : "", params == nullptr && dir == nullptr, show});
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
            LOGFONTA lf{};
            ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(h, WM_GETFONT, 0, 0)), sizeof lf, &lf);
            return lf;
        };
        for (int id : {IDC_MAIL_LINK, IDC_WEB_LINK}) {
            const LOGFONTA lf = font(::GetDlgItem(hDlg, id));
            EXPECT_TRUE(lf.lfUnderline) << id;
            EXPECT_EQ(lf.lfHeight, 12) << id;
            EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET) << id;
            EXPECT_EQ(std::string(lf.lfFaceName), "ＭＳ Ｐゴシック") << id;
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

// A link that wraps loses its second line below the static's bottom edge.
TEST_F(AboutDlgTest, EachLinkTextFitsItsStaticOnOneLine) {
    Run([](HWND hDlg, CAboutDlg& dlg) {
        for (int id : {IDC_MAIL_LINK, IDC_WEB_LINK}) {
            const HWND hLink = ::GetDlgItem(hDlg, id);
            const std::string text = WindowText(hLink);
            RECT rc{};
            ::GetClientRect(hLink, &rc);
            const HDC hDC = ::GetDC(hLink);
            const HGDIOBJ hOld = ::SelectObject(hDC, dlg.m_fontLink.GetSafeHandle());
            SIZE extent{};
            ::GetTextExtentPoint32A(hDC, text.c_str(), static_cast<int>(text.size()), &extent);
            ::SelectObject(hDC, hOld);
            ::ReleaseDC(hLink, hDC);
            EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(hLink, WM_GETFONT, 0, 0)),
                      dlg.m_fontLink.GetSafeHandle());
            EXPECT_GT(extent.cx, 0) << text;
            EXPECT_LE(extent.cx, rc.right) << text;
            EXPECT_LE(extent.cy, rc.bottom) << text;
        }
    });
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
