// CTime conversions through the C runtime's 64-bit mktime and localtime, and strftime.
#include "fw/afxtime.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

#ifdef _WIN32
std::int64_t RuntimeMakeTime(std::tm* pTm) {
    return _mktime64(pTm);
}
bool RuntimeLocalTime(std::int64_t t, std::tm* pTm) {
    const __time64_t t64 = t;
    return _localtime64_s(pTm, &t64) == 0;
}
std::int64_t RuntimeTime() {
    return _time64(nullptr);
}
#else
std::int64_t RuntimeMakeTime(std::tm* pTm) {
    return std::mktime(pTm);
}
bool RuntimeLocalTime(std::int64_t t, std::tm* pTm) {
    const std::time_t tt = static_cast<std::time_t>(t);
    return localtime_r(&tt, pTm) != nullptr;
}
std::int64_t RuntimeTime() {
    return std::time(nullptr);
}
#endif

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t* y, int* m, int* d) {
    z += 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *y = yoe + era * 400 + (*m <= 2);
}

// 3000-12-31, the last local date msvcrt's _mktime64 converts, as days since 1970-01-01.
const std::int64_t kLastLocalDay = DaysFromCivil(3000, 12, 31);

} // namespace

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) : m_time(kInvalid) {
    // Carry the fields in 64-bit arithmetic first, so that no field value can overflow and the
    // runtime only ever sees a date near the span this type holds.
    const std::int64_t months =
        static_cast<std::int64_t>(nYear) * 12 + (static_cast<std::int64_t>(nMonth) - 1);
    const std::int64_t year = FloorDiv(months, 12);
    const int month = static_cast<int>(months - year * 12) + 1;
    const std::int64_t local =
        (DaysFromCivil(year, month, 1) + (static_cast<std::int64_t>(nDay) - 1)) * kSecondsPerDay +
        static_cast<std::int64_t>(nHour) * 3600 + static_cast<std::int64_t>(nMin) * 60 + nSec;
    // No time zone is more than a day and a half from UTC.
    const std::int64_t slack = 2 * kSecondsPerDay;
    if (local < -slack || local > kMaxTime + slack)
        return;

    std::int64_t y = 0;
    int m = 0, d = 0;
    std::int64_t days = FloorDiv(local, kSecondsPerDay);
    const std::int64_t secOfDay = local - days * kSecondsPerDay;
    // msvcrt refuses any local date before 1970 although west of UTC its last evening is
    // still representable: convert the next day instead and step back (no zone changes its
    // offset on New Year's Eve of 1969).
    std::int64_t shift = 0;
    if (days < 0) {
        days += 1;
        shift = kSecondsPerDay;
    }
    // Likewise msvcrt refuses any local date in 3001, which east of UTC still holds the
    // span's last hours: convert the day before and step forward.
    if (days > kLastLocalDay) {
        days -= 1;
        shift = -kSecondsPerDay;
    }
    CivilFromDays(days, &y, &m, &d);

    std::tm tm{};
    tm.tm_year = static_cast<int>(y - 1900);
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    tm.tm_hour = static_cast<int>(secOfDay / 3600);
    tm.tm_min = static_cast<int>(secOfDay / 60 % 60);
    tm.tm_sec = static_cast<int>(secOfDay % 60);
    tm.tm_isdst = nDST;
    std::int64_t t = RuntimeMakeTime(&tm);
    if (t != -1)
        t -= shift;
    // Wine's msvcrt converts any local reading of 3000-12-31, also one past the span's end.
    if (t < 0 || t > kMaxTime)
        return;
    m_time = t;
}

CTime::TimeFn CTime::s_pfnTime = &RuntimeTime;

CTime CTime::GetCurrentTime() {
    return CTime(s_pfnTime());
}

bool CTime::GetLocalTm(std::tm* pTm) const {
    // Wine's msvcrt breaks down times past the span that Windows' refuses: refuse them alike.
    if (m_time < 0 || m_time > kMaxTime)
        return false;
    return RuntimeLocalTime(m_time, pTm);
}

CString CTime::Format(const char* pszFormat) const {
    std::tm tm{};
    if (!GetLocalTm(&tm))
        return CString();
    char buffer[128];
    const std::size_t n = std::strftime(buffer, sizeof buffer, pszFormat, &tm);
    if (n == 0)
        return CString();
    return CString(buffer, static_cast<int>(n));
}
