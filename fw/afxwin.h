// CWnd: a C++ object attached to a window handle, with message-map dispatch and Default. Every
// window is a Unicode window: its texts cross in UTF-16, converted from code page 932.
#pragma once

#include <windows.h>

#include "fw/afxmsg.h"
#include "fw/afxstr.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    operator HWND() const { return m_hWnd; }

    virtual const MsgMap* GetMessageMap() const;

    // Creates the window with this object attached from WM_NCCREATE on. If creation fails the
    // object is never deleted by PostNcDestroy: the caller still owns it.
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu);
    BOOL DestroyWindow();

    // Attaches an existing window (a dialog or a control) and routes its messages through this
    // object; Default then calls the window's previous procedure.
    BOOL SubclassWindow(HWND hWnd);

    // Called as the last step of destruction, after the object is detached from its handle.
    virtual void PostNcDestroy() {}

    // The window's previous procedure applied to the message being handled.
    LRESULT Default();

    // A message box owned by this window; the caption defaults to the application name.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessageW(m_hWnd, msg, wParam, lParam);
    }

    HWND m_hWnd = nullptr;

protected:
    // Dispatches one message: WM_NCDESTROY, then the message map, then Default.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Called when the window is being destroyed; ends in default processing.
    void OnDestroy() { Default(); }

    static LRESULT CALLBACK StandardWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static CWnd* FromHandlePermanent(HWND hWnd);
    void Attach(HWND hWnd);

private:
    void OnNcDestroy();

    struct CurrentMsg {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMsg m_msgCur{};
    WNDPROC m_pfnSuper = ::DefWindowProcW;
    bool m_bCreating = false;
    // Destruction inside a handler (WM_CLOSE reaching DestroyWindow) runs PostNcDestroy only
    // once the outermost dispatch has stopped touching the object.
    int m_nDispatchDepth = 0;
    bool m_bPostNcDestroyPending = false;

    friend CString AfxRegisterWndClass(UINT, HCURSOR, HBRUSH, HICON);
};

// Registers (once per set of attributes) a window class whose procedure dispatches to CWnd
// objects; returns its name (ASCII), or an empty name when registration failed.
CString AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);
