// Control wrappers: CStatic and the common controls' date-time picker.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "fw/afxtime.h"
#include "fw/afxwin.h"

class CStatic : public CWnd {};

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
