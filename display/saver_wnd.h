// CSaverWnd: the full-screen countdown of saver mode. It covers the primary screen above every
// other window, hides the pointer and closes at the first sign of user activity.
#pragma once

#include "display/countdown_wnd.h"

class CSaverWnd : public CCountdownWnd {
public:
    CSaverWnd();

    // A topmost popup over the primary screen; FALSE when the window could not be created.
    BOOL CreateFullScreen();

    const MsgMap* GetMessageMap() const override;

    POINT m_ptFirstMouse{-1, -1};

protected:
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnDestroy();
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    BOOL OnNcActivate(BOOL bActive);
    void OnActivate(UINT nState, HWND hWndOther, BOOL bMinimized);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    void OnMouseMove(UINT nFlags, POINT point);
    void OnUserInput();

private:
    // Closing always goes through the queue, so no handler runs on a destroyed window.
    void PostClose() { ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0); }
};
