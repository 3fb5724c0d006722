// The About dialog.
#include "ui/about_dlg.h"

#include <shellapi.h>

#include <utility>

#include "res/resource.h"

const char kMailTarget[] = "mailto:info@kestrovin.example";
const char kWebTarget[] = "https://kestrovin.example/";

CAboutDlg::ShellExecuteFn CAboutDlg::s_pfnShellExecute = &::ShellExecuteW;

namespace {

// The template's 9-point font in pixels at 96 DPI, the size the links' 12 px belongs with.
constexpr int kDialogFontPixelsAt96 = 12;

// The pixel height of the font the dialog manager gave the controls, as it scaled the dialog
// for its DPI; 0 when there is none.
int DialogFontPixels(HWND hDlg) {
    LOGFONTW lf{};
    const HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(::SendDlgItemMessageW(hDlg, IDOK, WM_GETFONT, 0, 0));
    if (!hFont || !::GetObjectW(hFont, sizeof lf, &lf))
        return 0;
    return lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
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
    SetLinkFont();
    return TRUE;
}

// Where the dialog manager rescales the dialog for the new DPI (per-monitor v2), it gives the
// controls a font of the new size during default processing; the links then follow. Where it
// does not, they keep the size of the text around them.
void CAboutDlg::OnDpiChanged(UINT nDpi, const RECT* pSuggested) {
    CDialog::OnDpiChanged(nDpi, pSuggested);
    SetLinkFont();
}

// The links scale as the dialog's own font does, so they fit their statics at any DPI.
void CAboutDlg::SetLinkFont() {
    const int cyDialogFont = DialogFontPixels(m_hWnd);
    const int cyLink =
        cyDialogFont ? ::MulDiv(kLinkFontHeight, cyDialogFont, kDialogFontPixelsAt96) : kLinkFontHeight;
    if (m_strLinkFace.IsEmpty())
        m_strLinkFace = AfxChooseJapaneseFace(kProportionalGothicFaces);
    CFont font;
    font.CreateFont(cyLink, 0, 0, 0, FW_DONTCARE, FALSE, TRUE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, m_strLinkFace);
    const WPARAM hFont = reinterpret_cast<WPARAM>(font.GetSafeHandle());
    ::SendDlgItemMessageW(m_hWnd, IDC_MAIL_LINK, WM_SETFONT, hFont, TRUE);
    ::SendDlgItemMessageW(m_hWnd, IDC_WEB_LINK, WM_SETFONT, hFont, TRUE);
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
        ::SetCursor(::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_LINK_CURSOR)));
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void CAboutDlg::OnMailLink() {
    s_pfnShellExecute(m_hWnd, nullptr, CA2W(kMailTarget), nullptr, nullptr, SW_SHOWNORMAL);
}

void CAboutDlg::OnWebLink() {
    s_pfnShellExecute(m_hWnd, nullptr, CA2W(kWebTarget), nullptr, nullptr, SW_SHOWNORMAL);
}
