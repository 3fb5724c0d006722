// CTime: a point in time as a signed 32-bit count of seconds since 1970-01-01 00:00:00 UTC.
// The runtime's time_t is 64-bit on x86_64 but 32-bit on i686, and msvcrt's mktime differs at
// both ends of the span, so the 1970-2038 span is enforced here, the same on both.
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
    static constexpr std::int32_t kInvalid = -1;

    constexpr CTime() = default;
    constexpr explicit CTime(std::int32_t nTime) : m_time(nTime) {}
    // Local calendar fields (year in full, month from 1); out-of-range fields carry into their
    // neighbours as mktime does. A moment outside 1970-01-01..2038-01-19 03:14:07 UTC gives -1.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

    static CTime GetCurrentTime();
    // The clock GetCurrentTime reads: the runtime's, unless a test pins it.
    using TimeFn = std::time_t (*)(std::time_t*);
    static TimeFn s_pfnTime;

    constexpr std::int32_t GetTime() const { return m_time; }

    // Local calendar fields; false for a negative time, which has none.
    bool GetLocalTm(std::tm* pTm) const;
    // strftime into 128 bytes; empty for a negative time or a result over 127 bytes.
    CString Format(const char* pszFormat) const;

    // Differences and sums are taken modulo 2^32, so they wrap instead of overflowing.
    friend constexpr std::int32_t operator-(CTime a, CTime b) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(a.m_time) -
                                         static_cast<std::uint32_t>(b.m_time));
    }
    constexpr CTime operator+(std::int32_t nSeconds) const {
        return CTime(static_cast<std::int32_t>(static_cast<std::uint32_t>(m_time) +
                                               static_cast<std::uint32_t>(nSeconds)));
    }

    friend constexpr bool operator==(CTime a, CTime b) { return a.m_time == b.m_time; }
    friend constexpr bool operator!=(CTime a, CTime b) { return a.m_time != b.m_time; }
    friend constexpr bool operator<(CTime a, CTime b) { return a.m_time < b.m_time; }
    friend constexpr bool operator<=(CTime a, CTime b) { return a.m_time <= b.m_time; }
    friend constexpr bool operator>(CTime a, CTime b) { return a.m_time > b.m_time; }
    friend constexpr bool operator>=(CTime a, CTime b) { return a.m_time >= b.m_time; }

private:
    std::int32_t m_time = 0;
};
