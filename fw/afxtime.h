// CTime: a point in time as a signed 64-bit count of seconds since 1970-01-01 00:00:00 UTC,
// valid up to 3000-12-31 23:59:59 UTC, where the Windows runtime's 64-bit time functions end.
// Both Windows builds call those functions (the i686 runtime's plain time_t is 32-bit), and the
// span is enforced here, so that msvcrt and glibc give the same results at its ends.
#pragma once

#include <cstdint>
#include <ctime>

#include "fw/afxstr.h"

// winbase.h maps this name to GetTickCount: include it first, then take the name back.
#ifdef _WIN32
#include <windows.h>
#endif
#ifdef GetCurrentTime
#undef GetCurrentTime
#endif

class CTime {
public:
    static constexpr std::int64_t kInvalid = -1;
    // 3000-12-31 23:59:59 UTC, the last second of the span.
    static constexpr std::int64_t kMaxTime = 32535215999;

    constexpr CTime() = default;
    constexpr explicit CTime(std::int64_t nTime) : m_time(nTime) {}
    // Local calendar fields (year in full, month from 1); out-of-range fields carry into their
    // neighbours as mktime does. A moment outside 1970-01-01 .. kMaxTime UTC gives -1.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

    static CTime GetCurrentTime();
    // The clock GetCurrentTime reads: the runtime's 64-bit one, unless a test pins it.
    using TimeFn = std::int64_t (*)();
    static TimeFn s_pfnTime;

    constexpr std::int64_t GetTime() const { return m_time; }

    // Local calendar fields; false outside the span (a negative time has none).
    bool GetLocalTm(std::tm* pTm) const;
    // strftime into 128 bytes; empty outside the span or for a result over 127 bytes.
    CString Format(const char* pszFormat) const;

    // 64-bit differences and sums: exact for any two times of the span, and wrapping instead
    // of overflowing beyond it.
    friend constexpr std::int64_t operator-(CTime a, CTime b) {
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(a.m_time) -
                                         static_cast<std::uint64_t>(b.m_time));
    }
    constexpr CTime operator+(std::int64_t nSeconds) const {
        return CTime(static_cast<std::int64_t>(static_cast<std::uint64_t>(m_time) +
                                               static_cast<std::uint64_t>(nSeconds)));
    }

    friend constexpr bool operator==(CTime a, CTime b) { return a.m_time == b.m_time; }
    friend constexpr bool operator!=(CTime a, CTime b) { return a.m_time != b.m_time; }
    friend constexpr bool operator<(CTime a, CTime b) { return a.m_time < b.m_time; }
    friend constexpr bool operator<=(CTime a, CTime b) { return a.m_time <= b.m_time; }
    friend constexpr bool operator>(CTime a, CTime b) { return a.m_time > b.m_time; }
    friend constexpr bool operator>=(CTime a, CTime b) { return a.m_time >= b.m_time; }

private:
    std::int64_t m_time = 0;
};
