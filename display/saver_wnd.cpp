// CSaverWnd: what ends the saver, and what it holds off.
#include "display/saver_wnd.h"

#include "display/saver_group.h"

CSaverWnd::CSaverWnd(CSaverGroup& group) : CCountdownWnd(TRUE), m_pGroup(&group) {}

const MsgMap* CSaverWnd::GetMessageMap() const {
    static constexpr MsgEntry entries[] = {
        On<WM_SYSCOMMAND, &CSaverWnd::OnSysCommand>(),
        OnPlain<WM_CLOSE, &CSaverWnd::OnClose>(),
        On<WM_DESTROY, &CSaverWnd::OnDestroy>(),
        OnPlain<WM_DISPLAYCHANGE, &CSaverWnd::OnDisplayChange>(),
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

// Called for system commands: another saver or the close command must not take over.
void CSaverWnd::OnSysCommand(UINT nID, LPARAM) {
    if (nID == SC_SCREENSAVE || nID == SC_CLOSE)
        return;
    Default();
}

// Called when a trigger's close comes out of the queue: the saver ends on every monitor at once.
void CSaverWnd::OnClose() {
    m_pGroup->End();
}

// Called when the window is being destroyed; the group, not the window, ends the message loop.
void CSaverWnd::OnDestroy() {
    m_pGroup->OnWindowDestroyed(this);
    CWnd::OnDestroy();
}

// Called when monitors were added, removed or resized: the new arrangement is covered.
void CSaverWnd::OnDisplayChange() {
    m_pGroup->Cover(CSaverGroup::EnumMonitors());
    Default();
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

// Called when the window gains or loses activation; losing it to another saver window is no end.
void CSaverWnd::OnActivate(UINT nState, HWND hWndOther, BOOL) {
    if (nState == WA_INACTIVE && !m_pGroup->Owns(hWndOther))
        PostClose();
    Default();
}

// Called when another application is being activated.
void CSaverWnd::OnActivateApp(BOOL bActive, DWORD) {
    if (!bActive)
        PostClose();
    Default();
}

// Called on pointer moves. In screen coordinates, so that the first report of any window only
// records where the pointer rests, and a move onto another monitor is a move.
void CSaverWnd::OnMouseMove(UINT, POINT point) {
    ::ClientToScreen(m_hWnd, &point);
    if (m_pGroup->PointerMoved(point))
        PostClose();
    Default();
}

// Called for a mouse button or a key pressed.
void CSaverWnd::OnUserInput() {
    PostClose();
    Default();
}
