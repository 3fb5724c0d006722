// The byte-limited edit box and the date-time picker wrapper.
#include "fw/afxctl.h"

#include <algorithm>

#include "fw/afxcp.h"

LRESULT CEdit::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == EM_LIMITTEXT)
        m_nLimitBytes = static_cast<int>(wParam);
    // The box may send itself messages while it takes a text the program sets; none of them is
    // the user's.
    const bool bSetText = msg == WM_SETTEXT;
    m_nSettingText += bSetText ? 1 : 0;
    const LRESULT result = CWnd::WindowProc(msg, wParam, lParam);
    m_nSettingText -= bSetText ? 1 : 0;
    // An input method keeps its unfinished text in the box and replaces it by position; cutting
    // it there would make the next replacement reach past it. What it leaves is checked at the end.
    if (msg == WM_IME_STARTCOMPOSITION)
        m_bComposing = true;
    else if (msg == WM_IME_ENDCOMPOSITION)
        m_bComposing = false;
    if (msg == WM_NCDESTROY || !m_hWnd || m_bChecking || m_nSettingText > 0 || m_bComposing)
        return result;
    m_bChecking = true;
    try {
        if (bSetText)
            m_strAccepted = AfxGetWindowText(m_hWnd);
        else
            KeepWithinLimit();
    } catch (...) {
        // Out of memory: the text stays as the box has it; nothing crosses into the system.
    }
    m_bChecking = false;
    return result;
}

// Every change the user makes replaces one run of the text, and the inserted run ends where the
// caret is after it (an undo selects what it put back: its run ends at the selection's end). So
// the text after the caret is what stood after the change before, and only the run from where
// the two texts part to the caret is cut. Comparing from both ends alone would, where the
// inserted text starts like what follows it, take the user's own characters for inserted ones.
void CEdit::KeepWithinLimit() {
    const std::wstring text = AfxGetWindowText(m_hWnd);
    const int nText = static_cast<int>(text.size());
    if (m_nLimitBytes > 0 && text != m_strAccepted && AfxByteLength(text.data(), nText) > m_nLimitBytes) {
        const int nOld = static_cast<int>(m_strAccepted.size());
        DWORD nSelEnd = 0;
        ::SendMessageW(m_hWnd, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&nSelEnd));
        const int nCaret = static_cast<int>(std::min<DWORD>(nSelEnd, static_cast<DWORD>(nText)));
        int nSuffix = 0;
        while (nSuffix < nText - nCaret && nSuffix < nOld &&
               text[nText - 1 - nSuffix] == m_strAccepted[nOld - 1 - nSuffix])
            ++nSuffix;
        // Short of the caret only where the box changed more than one run: then the run ends
        // where the texts stop differing.
        const int nEnd = nText - nSuffix;
        int nPrefix = 0;
        while (nPrefix < nEnd && nPrefix < nOld - nSuffix && text[nPrefix] == m_strAccepted[nPrefix])
            ++nPrefix;
        int nRoom =
            m_nLimitBytes - AfxByteLength(text.data(), nPrefix) - AfxByteLength(text.data() + nEnd, nSuffix);
        int nKeep = nPrefix;
        while (nKeep < nEnd) {
            // A surrogate pair is one character.
            const int nUnit = IS_HIGH_SURROGATE(text[nKeep]) && nKeep + 1 < nEnd ? 2 : 1;
            const int nBytes = AfxByteLength(text.data() + nKeep, nUnit);
            if (nBytes > nRoom)
                break;
            nRoom -= nBytes;
            nKeep += nUnit;
        }
        // A deletion from a text stored over the limit inserts nothing: nothing to cut.
        if (nKeep < nEnd) {
            ::SendMessageW(m_hWnd, EM_SETSEL, static_cast<WPARAM>(nKeep), nEnd);
            ::SendMessageW(m_hWnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
        }
    }
    m_strAccepted = AfxGetWindowText(m_hWnd);
}

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
        return static_cast<BOOL>(::SendMessageW(m_hWnd, DTM_SETSYSTEMTIME, GDT_NONE, 0));
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)));
}

DWORD CDateTimeCtrl::GetTime(SYSTEMTIME& st) const {
    st = SYSTEMTIME{};
    return static_cast<DWORD>(::SendMessageW(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)));
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
    return static_cast<BOOL>(::SendMessageW(m_hWnd, DTM_SETRANGE, flags, reinterpret_cast<LPARAM>(range)));
}
