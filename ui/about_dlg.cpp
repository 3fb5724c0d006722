// The About dialog.
#include "ui/about_dlg.h"

#include <shellapi.h>

#include <utility>

#include "res/resource.h"

const char kMailTarget[] = "mailto:info@kestrovin.example";
const char kWebTarget[] = "https://kestrovin.example/";

CAboutDlg::ShellExecuteFn CAboutDlg::s_pfnShellExecute = &::ShellExecuteA;

namespace {

// The DPI the dialog is laid out for: its monitor's where the system says (Windows 10 from
// 1607), else the system's.
UINT DialogDpi(HWND hWnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    const auto pfn = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (const UINT dpi = pfn ? pfn(hWnd) : 0)
        return dpi;
    CClientDC dc(hWnd);
    return static_cast<UINT>(::GetDeviceCaps(dc, LOGPIXELSY));
}

} // namespace

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUT, pParent) {}

// The font goes first; the statics and the dialog follow as members and base.
CAboutDlg::~CAboutDlg() {
    m_fontLink.DeleteObject();
}

const MsgMap* CAboutDlg::GetMessageMap() const {
    static constexpr MsgEntry entries[] = {
        On<WM_CTLCOLORSTATIC, &CAboutDlg::OnCtlColor>(),
        On<WM_SETCURSOR, &CAboutDlg::OnSetCursor>(),
        On<WM_DPICHANGED, &CAboutDlg::OnDpiChanged>(),
        OnCommand<IDC_MAIL_LINK, STN_CLICKED, &CAboutDlg::OnMailLink>(),
        OnCommand<IDC_WEB_LINK, STN_CLICKED, &CAboutDlg::OnWebLink>(),
    };
    static const MsgMap map{CDialog::GetMessageMap(), entries, std::size(entries)};
    return &map;
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WEB_LINK, m_ctlWebLink);
    DDX_Control(pDX, IDC_MAIL_LINK, m_ctlMailLink);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetLinkFont(DialogDpi(m_hWnd));
    return TRUE;
}

// The dialog manager moves and rescales the dialog and gives the controls its own font; the
// links then get theirs at the new DPI.
void CAboutDlg::OnDpiChanged(UINT nDpi, const RECT*) {
    Default();
    SetLinkFont(nDpi);
}

void CAboutDlg::SetLinkFont(UINT nDpi) {
    CFont font;
    font.CreateFont(::MulDiv(kLinkFontHeight, static_cast<int>(nDpi), USER_DEFAULT_SCREEN_DPI), 0, 0, 0,
                    FW_DONTCARE, FALSE, TRUE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "ＭＳ Ｐゴシック");
    const WPARAM hFont = reinterpret_cast<WPARAM>(font.GetSafeHandle());
    ::SendDlgItemMessageA(m_hWnd, IDC_MAIL_LINK, WM_SETFONT, hFont, TRUE);
    ::SendDlgItemMessageA(m_hWnd, IDC_WEB_LINK, WM_SETFONT, hFont, TRUE);
    // The old font goes only once no link uses it.
    m_fontLink = std::move(font);
}

HBRUSH CAboutDlg::OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor) {
    const HBRUSH hBrush = reinterpret_cast<HBRUSH>(Default());
    const bool bLink = hWnd && (hWnd == m_ctlMailLink.m_hWnd || hWnd == m_ctlWebLink.m_hWnd);
    if (bLink && nCtlColor == CTLCOLOR_STATIC) {
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, RGB(0, 0, 255));
    }
    return hBrush;
}

BOOL CAboutDlg::OnSetCursor(HWND hWnd, UINT, UINT) {
    if (hWnd && (hWnd == GetDlgItem(IDC_MAIL_LINK) || hWnd == GetDlgItem(IDC_WEB_LINK))) {
        ::SetCursor(::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_CURSOR)));
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void CAboutDlg::OnMailLink() {
    s_pfnShellExecute(m_hWnd, nullptr, kMailTarget, nullptr, nullptr, SW_SHOWNORMAL);
}

void CAboutDlg::OnWebLink() {
    s_pfnShellExecute(m_hWnd, nullptr, kWebTarget, nullptr, nullptr, SW_SHOWNORMAL);
}
