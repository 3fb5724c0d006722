// The application object and its start and exit sequence.
#include "fw/afxapp.h"

#include <cstring>

#include "fw/afxpath.h"
#include "fw/afxwin.h"

namespace {
CWinApp* g_pApp = nullptr;
} // namespace

bool AfxIsLeadByte(unsigned char ch) {
    return ::IsDBCSLeadByte(ch) != FALSE;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

int AfxMessageBox(const char* pszText, UINT nType) {
    if (CWinApp* pApp = AfxGetApp())
        return pApp->DoMessageBox(pszText, nType);
    return ::MessageBoxA(nullptr, pszText, "", nType | MB_ICONEXCLAMATION);
}

CWinApp::CWinApp(const char* pszAppName) : m_pszAppName(pszAppName) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::InitApplication(HINSTANCE hInstance, int argc, char** argv) {
    m_hInstance = hInstance;
    m_argc = argc;
    m_argv = argv;
    char path[MAX_PATH + 1] = "";
    ::GetModuleFileNameA(hInstance, path, sizeof path);
    const PathParts parts = SplitPath(path, AfxIsLeadByte);
    if (m_pszAppName.IsEmpty())
        m_pszAppName = parts.fname.c_str();
    m_strHelpPath = (parts.drive + parts.dir + parts.fname + ".HLP").c_str();
    // The framework's bare default, which the system would look for in the Windows directory.
    const std::string defaultProfile = parts.fname + ".INI";
    m_strProfilePath.reset(new char[defaultProfile.size() + 1]);
    std::memcpy(m_strProfilePath.get(), defaultProfile.c_str(), defaultProfile.size() + 1);
}

// The loops take messages in their Unicode form: a character typed in code page 932 then reaches
// an edit control whole, where the ANSI form would hand it over as two single-byte characters.
int CWinApp::Run() {
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            m_nQuitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return m_nQuitCode;
}

int CWinApp::ExitInstance() {
    return m_nQuitCode;
}

BOOL CWinApp::OnCmdMsg(UINT nID) {
    if (nID == ID_HELP) {
        OnHelp();
        return TRUE;
    }
    return FALSE;
}

void CWinApp::OnHelp() {
    if (!m_nActiveDialogTemplate)
        return;
    if (!WinHelp(HID_BASE_RESOURCE + m_nActiveDialogTemplate, HELP_CONTEXT))
        AfxMessageBox("Failed to launch help.");
}

BOOL CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    const HWND hWnd = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    return ::WinHelpA(hWnd, m_strHelpPath, nCmd, dwData);
}

CString CWinApp::GetProfileString(const char* pszSection, const char* pszEntry,
                                  const char* pszDefault) const {
    if (!m_strProfilePath || !m_strProfilePath[0])
        return CString(pszDefault);
    char buffer[4096];
    const DWORD n = ::GetPrivateProfileStringA(pszSection, pszEntry, pszDefault, buffer, sizeof buffer,
                                               m_strProfilePath.get());
    return CString(buffer, static_cast<int>(n));
}

BOOL CWinApp::WriteProfileString(const char* pszSection, const char* pszEntry, const char* pszValue) const {
    if (!m_strProfilePath || !m_strProfilePath[0])
        return FALSE;
    return ::WritePrivateProfileStringA(pszSection, pszEntry, pszValue, m_strProfilePath.get());
}

int CWinApp::DoMessageBox(const char* pszText, UINT nType) {
    if ((nType & MB_ICONMASK) == 0 && (nType & MB_TYPEMASK) == MB_OK)
        nType |= MB_ICONEXCLAMATION;
    const HWND hOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    return ::MessageBoxA(hOwner, pszText, m_pszAppName, nType);
}

int AfxWinMain(HINSTANCE hInstance, int argc, char** argv) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->InitApplication(hInstance, argc, argv);
    if (pApp->InitInstance()) {
        pApp->Run();
    } else if (pApp->m_pMainWnd) {
        CWnd* pMainWnd = pApp->m_pMainWnd;
        pApp->m_pMainWnd = nullptr;
        if (pMainWnd->m_hWnd)
            pMainWnd->DestroyWindow();
    }
    return pApp->ExitInstance();
}
