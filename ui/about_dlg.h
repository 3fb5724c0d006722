// CAboutDlg: the version information, with an e-mail link and a web-page link to the maker.
#pragma once

#include <windows.h>

#include "fw/afxctl.h"
#include "fw/afxdlg.h"
#include "fw/afxgdi.h"

// The maker's addresses: each stands once in its link's text and once as the shell's target.
extern const char kMailTarget[];
extern const char kWebTarget[];

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* pParent = nullptr);
    ~CAboutDlg() override;

    const MsgMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;

    // The shell call of both links; tests replace it to watch the calls.
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static ShellExecuteFn s_pfnShellExecute;

    CStatic m_ctlWebLink;
    CStatic m_ctlMailLink;
    CFont m_fontLink;
    // The links' face, chosen once per opening; empty until then.
    CString m_strLinkFace;

    // The links' cell height at 96 DPI; the font scales as the dialog's font does.
    static constexpr int kLinkFontHeight = 12;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    HBRUSH OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor);
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    // Called when the dialog moves to a monitor of another DPI.
    void OnDpiChanged(UINT nDpi, const RECT* pSuggested);
    void SetLinkFont();
    void OnMailLink();
    void OnWebLink();
};
