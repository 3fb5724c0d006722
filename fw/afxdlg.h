// CDialog: a modal dialog from a resource template, with its own modal loop, and dialog data
// exchange (DDX_/DDV_) between controls and members.
#pragma once

#include <windows.h>

#include "fw/afxgdi.h"
#include "fw/afxstr.h"
#include "fw/afxwin.h"

// One exchange between a dialog's controls and its members, in one direction.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The control with this id, remembered as the one to blame if validation fails.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus on the last prepared control (selecting all of an edit box's text) and
    // abandons the exchange.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate; // TRUE: controls to members, with validation
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

// Attaches the control to the object on the first exchange, so its messages reach the object.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Filling: limits typing in the edit box just exchanged (in code page 932 bytes where the box is
// a CEdit, else in characters). Reading: refuses a text of more than nChars bytes with the
// framework's message.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

// "Please enter no more than %1 characters." with %1 replaced.
CString FormatMaxCharsMessage(int nChars);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the dialog, disables its owner, runs the modal loop and destroys the dialog.
    // Returns the value given to EndDialog, or -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    // FALSE: members into controls; TRUE: controls into members, FALSE when validation failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    const MsgMap* GetMessageMap() const override;

    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Where the dialog manager's font for the template does not draw Japanese in the template's
    // face (the template names ＭＳ Ｐゴシック, and at a Western code page the default character
    // set gives a Western face), gives every control that has it a Shift-JIS font of the same
    // height: the template's face where Windows has it, else the Japanese face the frame would
    // choose. Layout stays as the dialog units made it. Runs before OnInitDialog; call it again
    // where the dialog manager hands the controls a new font (a DPI change).
    void UseJapaneseFace();
    // Called when the dialog moves to a monitor of another DPI; the dialog manager may have
    // given the controls a new font in the default processing.
    void OnDpiChanged(UINT nDpi, const RECT* pSuggested);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
    // Handles F1 and the dialog keys; TRUE when the message needs no dispatch.
    BOOL PreTranslateMessage(MSG* pMsg);
    int RunModalLoop();

    bool m_bContinueModal = false;
    int m_nModalResult = -1;
    // The controls' font from UseJapaneseFace, empty where the dialog manager's serves; deleted
    // once the dialog's window is gone.
    CFont m_fontJapanese;
};

// Registers the date-time picker class of the common controls; harmless when repeated.
BOOL AfxInitDateTimeControls();
