// CSaverWnd: what ends the saver, and what it holds off.
#include "display/saver_wnd.h"

CSaverWnd::CSaverWnd() : CCountdownWnd(TRUE) {}

const MsgMap* CSaverWnd::GetMessageMap() const {
    static constexpr MsgEntry entries[] = {
        On<WM_SYSCOMMAND, &CSaverWnd::OnSysCommand>(),
        On<WM_DESTROY, &CSaverWnd::OnDestroy>(),
        On<WM_SETCURSOR, &CSaverWnd::OnSetCursor>(),
        On<WM_NCACTIVATE, &CSaverWnd::OnNcActivate>(),
        On<WM_ACTIVATE, &CSaverWnd::OnActivate>(),
        On<WM_ACTIVATEAPP, &CSaverWnd::OnActivateApp>(),
        On<WM_MOUSEMOVE, &CSaverWnd::OnMouseMove>(),
        OnPlain<WM_LBUTTONDOWN, &CSaverWnd::OnUserInput>(),
        OnPlain<WM_MBUTTONDOWN, &CSaverWnd::OnUserInput>(),
        OnPlain<WM_RBUTTONDOWN, &CSaverWnd::OnUserInput>(),
        OnPlain<WM_KEYDOWN, &CSaverWnd::OnUserInput>(),
        OnPlain<WM_SYSKEYDOWN, &CSaverWnd::OnUserInput>(),
    };
    static const MsgMap map{CCountdownWnd::GetMessageMap(), entries, std::size(entries)};
    return &map;
}

BOOL CSaverWnd::CreateFullScreen() {
    const int cy = ::GetSystemMetrics(SM_CYSCREEN);
    const int cx = ::GetSystemMetrics(SM_CXSCREEN);
    const RECT rect{0, 0, cx, cy};
    return Create(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, rect, nullptr);
}

// Called for system commands: another saver or the close command must not take over.
void CSaverWnd::OnSysCommand(UINT nID, LPARAM) {
    if (nID == SC_SCREENSAVE || nID == SC_CLOSE)
        return;
    Default();
}

// Called when the window is being destroyed: ends the message loop.
void CSaverWnd::OnDestroy() {
    ::PostQuitMessage(0);
    CWnd::OnDestroy();
}

// Called whenever the system would show a cursor over the window: show none.
BOOL CSaverWnd::OnSetCursor(HWND, UINT, UINT) {
    ::SetCursor(nullptr);
    return TRUE;
}

// Called when the caption would turn inactive: refuse it.
BOOL CSaverWnd::OnNcActivate(BOOL bActive) {
    if (!bActive)
        return FALSE;
    return static_cast<BOOL>(Default());
}

// Called when the window gains or loses activation.
void CSaverWnd::OnActivate(UINT nState, HWND, BOOL) {
    if (nState == WA_INACTIVE)
        PostClose();
    Default();
}

// Called when another application is being activated.
void CSaverWnd::OnActivateApp(BOOL bActive, DWORD) {
    if (!bActive)
        PostClose();
    Default();
}

// Called on pointer moves; the first only records where the pointer rests.
void CSaverWnd::OnMouseMove(UINT, POINT point) {
    if (m_ptFirstMouse.x == -1 && m_ptFirstMouse.y == -1)
        m_ptFirstMouse = point;
    else if (point.x != m_ptFirstMouse.x || point.y != m_ptFirstMouse.y)
        PostClose();
    Default();
}

// Called for a mouse button or a key pressed.
void CSaverWnd::OnUserInput() {
    PostClose();
    Default();
}
