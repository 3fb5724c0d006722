// The date-time picker wrapper.
#include "fw/afxctl.h"

bool TimeToSystemTime(const CTime& time, SYSTEMTIME* pst) {
    std::tm tm{};
    if (!time.GetLocalTm(&tm))
        return false;
    *pst = SYSTEMTIME{};
    pst->wYear = static_cast<WORD>(tm.tm_year + 1900);
    pst->wMonth = static_cast<WORD>(tm.tm_mon + 1);
    pst->wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    pst->wDay = static_cast<WORD>(tm.tm_mday);
    pst->wHour = static_cast<WORD>(tm.tm_hour);
    pst->wMinute = static_cast<WORD>(tm.tm_min);
    pst->wSecond = static_cast<WORD>(tm.tm_sec);
    return true;
}

BOOL CDateTimeCtrl::SetTime(const CTime& time) {
    SYSTEMTIME st{};
    if (!TimeToSystemTime(time, &st))
        return static_cast<BOOL>(::SendMessageA(m_hWnd, DTM_SETSYSTEMTIME, GDT_NONE, 0));
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)));
}

DWORD CDateTimeCtrl::GetTime(SYSTEMTIME& st) const {
    st = SYSTEMTIME{};
    return static_cast<DWORD>(::SendMessageA(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)));
}

BOOL CDateTimeCtrl::SetRange(const SYSTEMTIME* pMin, const SYSTEMTIME* pMax) {
    SYSTEMTIME range[2]{};
    WPARAM flags = 0;
    if (pMin) {
        range[0] = *pMin;
        flags |= GDTR_MIN;
    }
    if (pMax) {
        range[1] = *pMax;
        flags |= GDTR_MAX;
    }
    return static_cast<BOOL>(::SendMessageA(m_hWnd, DTM_SETRANGE, flags, reinterpret_cast<LPARAM>(range)));
}
