// CSaverWnd: the full-screen countdown of saver mode on one monitor. It stays above every other
// window, hides the pointer and, at the first sign of user activity, has its group end the saver.
#pragma once

#include "display/countdown_wnd.h"

class CSaverGroup;

class CSaverWnd : public CCountdownWnd {
public:
    explicit CSaverWnd(CSaverGroup& group);

    const MsgMap* GetMessageMap() const override;

protected:
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnClose();
    void OnDestroy();
    void OnDisplayChange();
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    BOOL OnNcActivate(BOOL bActive);
    void OnActivate(UINT nState, HWND hWndOther, BOOL bMinimized);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    void OnMouseMove(UINT nFlags, POINT point);
    void OnUserInput();

private:
    // Closing always goes through the queue, so no handler runs on a destroyed window.
    void PostClose() { ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0); }

    CSaverGroup* m_pGroup;
};
