// CSettingsDlg: edits the start and due times, the title and the subject, with a live preview
// of the countdown as stored.
#pragma once

#include <windows.h>

#include "display/countdown_wnd.h"
#include "fw/afxctl.h"
#include "fw/afxdlg.h"
#include "fw/afxstr.h"
#include "fw/afxtime.h"

// The most bytes a title or a subject may have.
constexpr int kMaxTextBytes = 60;

class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(CWnd* pParent = nullptr);
    ~CSettingsDlg() override;

    const MsgMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    CTime m_timeFromEdit;
    CTime m_timeToEdit;
    CDateTimeCtrl m_ctlToTime;
    CDateTimeCtrl m_ctlToDate;
    CDateTimeCtrl m_ctlFromTime;
    CDateTimeCtrl m_ctlFromDate;
    CString m_strSubjectEdit;
    CString m_strTitleEdit;
    // The two text boxes: typing and pasting stop at 60 bytes at any code page.
    CEdit m_ctlSubject;
    CEdit m_ctlTitle;
    HICON m_hIcon;
    CCountdownWnd m_wndPreview;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnVersionInfo();
};
