// Modal dialogs and dialog data exchange.
#include "fw/afxdlg.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "fw/afxapp.h"
#include "fw/afxcp.h"

namespace {

// Thrown by CDataExchange::Fail and caught by UpdateData: the exchange was abandoned after the
// user had been told why.
struct CUserException {};

const char kMaxCharsMessage[] = "Please enter no more than %1 characters.";

bool IsEditControl(HWND hWnd) {
    wchar_t name[16] = L"";
    ::GetClassNameW(hWnd, name, 16);
    return ::lstrcmpiW(name, L"Edit") == 0;
}

// Whether the font draws in the face it names, with the Shift-JIS character set.
bool DrawsJapaneseAsNamed(HFONT hFont, const wchar_t* pszFace) {
    const CClientDC dc(static_cast<HWND>(nullptr));
    const CSelectObject select(dc, hFont);
    wchar_t face[LF_FACESIZE] = L"";
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    return ::GetTextCharset(dc) == SHIFTJIS_CHARSET && ::lstrcmpiW(face, pszFace) == 0;
}

} // namespace

BOOL AfxInitDateTimeControls() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
    return ::InitCommonControlsEx(&icc);
}

CString FormatMaxCharsMessage(int nChars) {
    CString number;
    number.Format("%d", nChars);
    CString result;
    for (const char* p = kMaxCharsMessage; *p; ++p) {
        if (p[0] == '%' && p[1] == '1') {
            result += number;
            ++p;
        } else {
            result += CString(p, 1);
        }
    }
    return result;
}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    const HWND hWnd = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    m_hWndLastControl = hWnd;
    m_bEditLastControl = FALSE;
    return hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    const HWND hWnd = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWnd;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw CUserException{};
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd)
        return;
    const HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!hWnd || !rControl.SubclassWindow(hWnd))
        pDX->Fail();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    const HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!hWnd)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = AfxFromWide(AfxGetWindowText(hWnd).c_str());
    } else {
        ::SetWindowTextW(hWnd, CA2W(value));
    }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (!pDX->m_bSaveAndValidate) {
        if (pDX->m_hWndLastControl && IsEditControl(pDX->m_hWndLastControl))
            ::SendMessageW(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.GetLength() > nChars) {
        AfxMessageBox(FormatMaxCharsMessage(nChars), MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

const MsgMap* CDialog::GetMessageMap() const {
    static constexpr MsgEntry entries[] = {
        OnCommand<IDOK, BN_CLICKED, &CDialog::OnOK>(),
        OnCommand<IDCANCEL, BN_CLICKED, &CDialog::OnCancel>(),
        On<WM_DPICHANGED, &CDialog::OnDpiChanged>(),
    };
    static const MsgMap map{CWnd::GetMessageMap(), entries, std::size(entries)};
    return &map;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnDpiChanged(UINT, const RECT*) {
    Default();
    UseJapaneseFace();
}

void CDialog::UseJapaneseFace() {
    const HFONT hDialogFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    LOGFONTW lf{};
    if (!hDialogFont || !::GetObjectW(hDialogFont, sizeof lf, &lf) ||
        DrawsJapaneseAsNamed(hDialogFont, lf.lfFaceName))
        return;
    const CString strTemplateFace = AfxFromWide(lf.lfFaceName);
    std::vector<const char*> faces{strTemplateFace.GetString()};
    faces.insert(faces.end(), std::begin(kProportionalGothicFaces), std::end(kProportionalGothicFaces));
    const std::wstring face = AfxToWide(AfxChooseJapaneseFace(faces.data(), faces.size()));
    if (face.empty() || face.size() >= LF_FACESIZE)
        return;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), L'\0');
    face.copy(lf.lfFaceName, face.size());
    CFont font;
    if (!font.Attach(::CreateFontIndirectW(&lf)))
        return;
    // Controls a derived dialog gave a font of its own keep it.
    bool bUsed = false;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (reinterpret_cast<HFONT>(::SendMessageW(hChild, WM_GETFONT, 0, 0)) == hDialogFont) {
            ::SendMessageW(hChild, WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
            bUsed = true;
        }
    }
    // The previous font goes only once no control uses it.
    if (bUsed)
        m_fontJapanese = std::move(font);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bContinueModal = false;
    // Wakes the loop if it is waiting for a message.
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hDlg, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_INITDIALOG)
        return FALSE; // the dialog manager's default processing
    // From here on every message of the dialog goes through its message map; Default then
    // reaches the dialog manager.
    CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
    if (!pDlg || !pDlg->SubclassWindow(hDlg))
        return TRUE;
    try {
        pDlg->UseJapaneseFace();
        return pDlg->OnInitDialog();
    } catch (const std::bad_alloc&) {
        AfxMessageBox(kOutOfMemoryMessage);
    } catch (...) {
    }
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // F1 without Shift, Ctrl or Alt asks for help on the active dialog.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1 && ::GetKeyState(VK_SHIFT) >= 0 &&
        ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0) {
        CWinApp* pApp = AfxGetApp();
        CWnd* pMainWnd = pApp ? pApp->m_pMainWnd : nullptr;
        if (pMainWnd && pMainWnd->m_hWnd)
            pMainWnd->SendMessage(WM_COMMAND, ID_HELP, 0);
        else if (pApp)
            pApp->OnCmdMsg(ID_HELP);
        return TRUE;
    }
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

// Unicode forms, as in CWinApp::Run: under Wine the ANSI forms hand a typed double-byte character
// over in two halves.
int CDialog::RunModalLoop() {
    MSG msg;
    while (m_bContinueModal && ::IsWindow(m_hWnd)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The quit belongs to the loop outside this one.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            break;
        }
        if (got == -1)
            break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_bContinueModal = false;
    return m_nModalResult;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd)
        return -1;
    const HINSTANCE hInst = ::GetModuleHandleW(nullptr);
    const HRSRC hRes =
        ::FindResourceW(hInst, MAKEINTRESOURCEW(m_nIDTemplate), MAKEINTRESOURCEW(5) /*RT_DIALOG*/);
    const HGLOBAL hTemplate = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    const auto* pTemplate = hTemplate ? static_cast<const DLGTEMPLATE*>(::LockResource(hTemplate)) : nullptr;
    if (!pTemplate)
        return -1;
    AfxInitDateTimeControls();

    // Without a parent the owner is the main window, unless that is this dialog itself.
    CWinApp* pApp = AfxGetApp();
    CWnd* pOwner = m_pParentWnd ? m_pParentWnd : (pApp ? pApp->m_pMainWnd : nullptr);
    HWND hWndOwner = pOwner && pOwner != this ? pOwner->m_hWnd : nullptr;
    if (hWndOwner)
        hWndOwner = ::GetAncestor(hWndOwner, GA_ROOT);
    const bool bEnableOwner = hWndOwner && ::IsWindowEnabled(hWndOwner);
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, FALSE);

    const UINT nPrevTemplate = pApp ? pApp->m_nActiveDialogTemplate : 0;
    if (pApp)
        pApp->m_nActiveDialogTemplate = m_nIDTemplate;

    // Set before creation, so that an EndDialog from OnInitDialog is kept.
    m_nModalResult = -1;
    m_bContinueModal = true;
    // The W form keeps the template's texts as they are and makes Unicode controls, whatever the
    // system's ANSI code page.
    const HWND hDlg = ::CreateDialogIndirectParamW(hInst, pTemplate, hWndOwner, &CDialog::DialogProc,
                                                   reinterpret_cast<LPARAM>(this));
    int nResult = -1;
    if (hDlg && m_hWnd == hDlg) {
        if (!::IsWindowVisible(hDlg))
            ::ShowWindow(hDlg, SW_SHOWNORMAL);
        nResult = RunModalLoop();
    } else if (hDlg) {
        ::DestroyWindow(hDlg);
    }

    // The owner is enabled and activated before the dialog hides, so that the activation
    // returns to it and not to some other window.
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    DestroyWindow();
    m_fontJapanese.DeleteObject();
    if (pApp)
        pApp->m_nActiveDialogTemplate = nPrevTemplate;
    return nResult;
}
