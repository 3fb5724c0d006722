// Window procedure, attachment and destruction of CWnd objects.
#include "fw/afxwin.h"

#include <cstdio>
#include <new>

#include "fw/afxapp.h"
#include "fw/afxcp.h"

namespace {
const wchar_t kObjectProp[] = L"Kestrovin.CWnd";
} // namespace

CWnd::~CWnd() {
    // A window still alive when its object goes (a member window of a dialog that failed to
    // run, say) must not keep a pointer to the dead object.
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

const MsgMap* CWnd::GetMessageMap() const {
    static const MsgMap map{nullptr, nullptr, 0};
    return &map;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    return static_cast<CWnd*>(::GetPropW(hWnd, kObjectProp));
}

void CWnd::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    ::SetPropW(hWnd, kObjectProp, this);
}

LRESULT CALLBACK CWnd::StandardWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (!pWnd && msg == WM_NCCREATE) {
        pWnd = static_cast<CWnd*>(reinterpret_cast<LPCREATESTRUCTW>(lParam)->lpCreateParams);
        if (pWnd)
            pWnd->Attach(hWnd);
    }
    if (!pWnd)
        return ::DefWindowProcW(hWnd, msg, wParam, lParam);
    return pWnd->WindowProc(msg, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCDESTROY) {
        m_msgCur = {msg, wParam, lParam};
        OnNcDestroy(); // may delete this object
        return 0;
    }
    const CurrentMsg saved = m_msgCur;
    m_msgCur = {msg, wParam, lParam};
    ++m_nDispatchDepth;
    LRESULT result = 0;
    try {
        const UINT code = msg == WM_COMMAND ? HIWORD(wParam) : 0;
        const UINT id = msg == WM_COMMAND ? LOWORD(wParam) : 0;
        if (const MsgEntry* entry = FindMsgEntry(GetMessageMap(), msg, code, id))
            result = entry->call(*this, wParam, lParam);
        else if (msg == WM_COMMAND && lParam == 0 && AfxGetApp() && AfxGetApp()->OnCmdMsg(id))
            result = 0; // a command for the application, such as help
        else
            result = Default();
    } catch (const std::bad_alloc&) {
        // Exceptions never cross the window procedure into the system.
        AfxMessageBox(kOutOfMemoryMessage);
    } catch (...) {
    }
    m_msgCur = saved;
    if (--m_nDispatchDepth == 0 && m_bPostNcDestroyPending) {
        m_bPostNcDestroyPending = false;
        PostNcDestroy(); // may delete this object
    }
    return result;
}

LRESULT CWnd::Default() {
    return ::CallWindowProcW(m_pfnSuper, m_hWnd, m_msgCur.msg, m_msgCur.wParam, m_msgCur.lParam);
}

void CWnd::OnNcDestroy() {
    // Destruction of the main window ends the message loop.
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        ::PostQuitMessage(0);
        pApp->m_pMainWnd = nullptr;
    }
    Default();
    const HWND hWnd = m_hWnd;
    ::RemovePropW(hWnd, kObjectProp);
    if (m_pfnSuper != ::DefWindowProcW)
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = ::DefWindowProcW;
    m_hWnd = nullptr;
    if (m_bCreating)
        return;
    if (m_nDispatchDepth > 0)
        m_bPostNcDestroyPending = true;
    else
        PostNcDestroy();
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu) {
    if (m_hWnd || !lpszClassName || !*lpszClassName)
        return FALSE;
    m_bCreating = true;
    const HWND hWnd =
        ::CreateWindowExW(dwExStyle, CA2W(lpszClassName), CA2W(lpszWindowName), dwStyle, x, y, nWidth,
                          nHeight, hWndParent, nIDorHMenu, ::GetModuleHandleW(nullptr), this);
    m_bCreating = false;
    return hWnd != nullptr && m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (m_hWnd || !hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    Attach(hWnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StandardWndProc)));
    return TRUE;
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    if (!lpszCaption)
        lpszCaption = AfxGetApp() ? AfxGetApp()->m_pszAppName.GetString() : "";
    return ::MessageBoxW(m_hWnd, CA2W(lpszText), CA2W(lpszCaption), nType);
}

CString AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    // The name encodes the attributes, so equal requests share one class.
    char name[96];
    std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(::GetModuleHandleW(nullptr)),
                  nClassStyle, static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
                  static_cast<void*>(hIcon));
    const CA2W wideName(name);
    WNDCLASSW wc{};
    if (::GetClassInfoW(::GetModuleHandleW(nullptr), wideName, &wc))
        return CString(name);
    wc.style = nClassStyle;
    wc.lpfnWndProc = &CWnd::StandardWndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = wideName;
    if (!::RegisterClassW(&wc))
        return CString();
    return CString(name);
}
