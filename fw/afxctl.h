// Control wrappers: CStatic, an edit box limited in code page 932 bytes, and the common
// controls' date-time picker.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "fw/afxtime.h"
#include "fw/afxwin.h"

class CStatic : public CWnd {};

// An edit box whose EM_LIMITTEXT counts code page 932 bytes, as an ANSI edit box's did on a
// Japanese system; a Unicode edit box counts characters. Whatever the user inserts (typed,
// pasted, from an input method, an undo) is cut to the whole characters that fit, with the caret
// after them. A text the program sets is never cut, and the user may still shorten it.
class CEdit : public CWnd {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void KeepWithinLimit();

    int m_nLimitBytes = 0;      // 0: no limit in bytes
    std::wstring m_strAccepted; // the text as the limit last let it stand
    bool m_bChecking = false;   // the check's own messages (reading the text, cutting it) are not checked
    int m_nSettingText = 0;     // WM_SETTEXT in progress
    bool m_bComposing = false;  // an input method's unfinished text stands in the box
};

class CDateTimeCtrl : public CWnd {
public:
    // Shows the local calendar fields of the time; a time without them (negative) is sent as
    // "no time", which a picker without DTS_SHOWNONE refuses, so the picker keeps its value.
    BOOL SetTime(const CTime& time);
    // The picker's fields as they stand, without a conversion that could fail.
    DWORD GetTime(SYSTEMTIME& st) const;
    // Limits the dates the user can pick; either end may be null.
    BOOL SetRange(const SYSTEMTIME* pMin, const SYSTEMTIME* pMax);
};

// The local calendar fields of a time (milliseconds 0); false when it has none.
bool TimeToSystemTime(const CTime& time, SYSTEMTIME* pst);
