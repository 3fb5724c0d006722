// The application object and its start and exit sequence.
#include "fw/afxapp.h"

#include <string>

#include "fw/afxcp.h"
#include "fw/afxpath.h"
#include "fw/afxwin.h"

namespace {
CWinApp* g_pApp = nullptr;
} // namespace

const char kOutOfMemoryMessage[] = "メモリ不足エラーです。";

CWinApp* AfxGetApp() {
    return g_pApp;
}

int AfxMessageBox(const char* pszText, UINT nType) {
    if (CWinApp* pApp = AfxGetApp())
        return pApp->DoMessageBox(pszText, nType);
    return ::MessageBoxW(nullptr, CA2W(pszText), L"", nType | MB_ICONEXCLAMATION);
}

std::wstring AfxGetLongPathName(const wchar_t* pszPath) {
    if (!pszPath || !*pszPath)
        return std::wstring();
    // The long form may be longer than the short one: asked for its size first.
    const DWORD nSize = ::GetLongPathNameW(pszPath, nullptr, 0);
    if (nSize > 0) {
        std::wstring longPath(nSize, L'\0');
        const DWORD n = ::GetLongPathNameW(pszPath, longPath.data(), nSize);
        if (n > 0 && n < nSize) {
            longPath.resize(n);
            return longPath;
        }
    }
    return pszPath;
}

CWinApp::CWinApp(const char* pszAppName)
    : m_pszAppName(pszAppName), m_bAppNameFromPath(!pszAppName || !*pszAppName) {
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
    wchar_t path[MAX_PATH + 1] = L"";
    const DWORD n = ::GetModuleFileNameW(hInstance, path, MAX_PATH + 1);
    // A truncated path would name another file.
    SetModulePath(n > 0 && n <= MAX_PATH ? path : L"");
    // The framework's bare default, which the system would look for in the Windows directory.
    const std::wstring defaultProfile = SplitPath(m_strModulePath.c_str()).fname + L".INI";
    m_strProfilePath.reset(new wchar_t[defaultProfile.size() + 1]);
    defaultProfile.copy(m_strProfilePath.get(), defaultProfile.size());
    m_strProfilePath[defaultProfile.size()] = L'\0';
}

void CWinApp::SetModulePath(const wchar_t* pszModulePath) {
    m_strModulePath = AfxGetLongPathName(pszModulePath);
    const PathParts parts = SplitPath(m_strModulePath.c_str());
    if (m_bAppNameFromPath)
        m_pszAppName = AfxFromWide(parts.fname.c_str());
    m_strHelpPath = parts.drive + parts.dir + parts.fname + L".HLP";
}

// The loops take messages in their Unicode form: a character typed in code page 932 then reaches
// an edit control whole. Under Wine the ANSI form hands it over as two single-byte characters.
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
    return ::WinHelpW(hWnd, m_strHelpPath.c_str(), nCmd, dwData);
}

int CWinApp::DoMessageBox(const char* pszText, UINT nType) {
    if ((nType & MB_ICONMASK) == 0 && (nType & MB_TYPEMASK) == MB_OK)
        nType |= MB_ICONEXCLAMATION;
    const HWND hOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    return ::MessageBoxW(hOwner, CA2W(pszText), CA2W(m_pszAppName), nType);
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
