// Start, mode dispatch and exit of the program.
#include "app/countdown_app.h"

#include <new>

#include "app/launch_rules.h"
#include "display/countdown_wnd.h"
#include "display/saver_group.h"
#include "ui/settings_dlg.h"

const wchar_t* const kMutexName = L"Kestrovin.scr";

namespace {
constexpr std::size_t kProfilePathSize = 260;
} // namespace

CCountdownApp* GetCountdownApp() {
    return static_cast<CCountdownApp*>(AfxGetApp());
}

CCountdownApp::CCountdownApp() : CWinApp(nullptr), m_timeFrom(0), m_timeTo(0) {}

CCountdownApp::~CCountdownApp() = default;

BOOL CCountdownApp::InitInstance() {
    Enable3dControls();

    ::SetLastError(ERROR_SUCCESS);
    m_hMutex = ::CreateMutexW(nullptr, TRUE, kMutexName);
    if (::GetLastError() == ERROR_ALREADY_EXISTS)
        return FALSE;

    if (!FixProfilePath())
        return FALSE;

    LoadSettings();

    const char* pszMode = m_argc > 1 ? m_argv[1] : nullptr;
    if (!pszMode || MatchSwitch(pszMode, "c")) {
        RunSettingsDialog();
        return FALSE;
    }
    if (MatchSwitch(pszMode, "p"))
        return StartPreview(m_argc > 2 ? m_argv[2] : nullptr);
    if (MatchSwitch(pszMode, "s"))
        return StartSaver();
    return FALSE;
}

bool CCountdownApp::FixProfilePath() {
    m_strProfilePath.reset();
    m_strProfilePath.reset(new (std::nothrow) wchar_t[kProfilePathSize]);
    if (!m_strProfilePath) {
        AfxMessageBox(kOutOfMemoryMessage);
        return false;
    }
    // Without a module path, or with a settings path over 259 characters, the path stays
    // empty: the program then runs on the defaults and a save reports failure, so no other file
    // is ever read or written in its place. The long module path names the user's Kestrovin.ini
    // however Windows started the program.
    MakeProfilePath(m_strModulePath.c_str(), m_strProfilePath.get(), kProfilePathSize);
    return true;
}

BOOL CCountdownApp::StartPreview(const char* pszHostHandle) {
    const HWND hWndHost = reinterpret_cast<HWND>(
        static_cast<LONG_PTR>(static_cast<std::int32_t>(ParseHostHandle(pszHostHandle))));
    // Without a host window nothing would ever end the message loop.
    if (!hWndHost || !::IsWindow(hWndHost))
        return FALSE;
    CCountdownWnd* pWnd = new CCountdownWnd(TRUE);
    pWnd->SetSettings(Settings());
    RECT rect{};
    ::GetClientRect(hWndHost, &rect);
    if (!pWnd->Create(0, WS_CHILD | WS_VISIBLE, rect, hWndHost)) {
        delete pWnd;
        return FALSE;
    }
    m_pMainWnd = pWnd;
    return TRUE;
}

BOOL CCountdownApp::StartSaver() {
    // No saver window becomes the main window: with one a monitor, the group alone ends the loop.
    m_pSaver = std::make_unique<CSaverGroup>(Settings());
    if (!m_pSaver->Start()) {
        m_pSaver.reset();
        return FALSE;
    }
    return TRUE;
}

FrameSettings CCountdownApp::Settings() const {
    return FrameSettings{m_timeFrom, m_timeTo, m_strTitle, m_strSubject};
}

int CCountdownApp::ExitInstance() {
    m_pSaver.reset();
    m_strProfilePath.reset();
    if (m_hMutex) {
        ::ReleaseMutex(m_hMutex);
        ::CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
    return CWinApp::ExitInstance();
}

void CCountdownApp::RunSettingsDialog() {
    LoadSettings();
    CSettingsDlg dlg;
    m_pMainWnd = &dlg;
    const INT_PTR nResult = dlg.DoModal();
    // A dialog that never got a window leaves the link behind; the window's destruction
    // clears it otherwise.
    if (m_pMainWnd == &dlg)
        m_pMainWnd = nullptr;
    // The main window's destruction posted the quit message; taken out of the queue, it
    // cannot close the message box below before the user has read it.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    if (nResult != IDOK)
        return;
    m_timeFrom = dlg.m_timeFromEdit;
    m_timeTo = dlg.m_timeToEdit;
    m_strTitle = dlg.m_strTitleEdit;
    m_strSubject = dlg.m_strSubjectEdit;
    if (!SaveSettings()) {
        CString text("設定を保存できませんでした。\n");
        if (m_strProfilePath && m_strProfilePath[0])
            text += AfxFromWide(m_strProfilePath.get());
        else
            text += "(プログラムの場所のパスが長すぎるため、設定ファイルを置けません)";
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    }
}
