// CombineDateTime.
#include "ui/combine.h"

#include <limits>

CTime CombineDateTime(CTime timeDate, CTime timeOfDay) {
    std::tm date{};
    std::tm tod{};
    const bool bDate = timeDate.GetLocalTm(&date);
    const bool bTime = timeOfDay.GetLocalTm(&tod);
    if (!bDate || !bTime)
        return CTime(CTime::kInvalid);
    return CTime(date.tm_year + 1900, date.tm_mon + 1, date.tm_mday, tod.tm_hour, tod.tm_min, tod.tm_sec, -1);
}

CTime CombineFieldsWithinSpan(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
    const CTime combined(nYear, nMonth, nDay, nHour, nMin, nSec, -1);
    if (combined.GetTime() >= 0)
        return combined;
    return CTime(nYear < 2000 ? 0 : std::numeric_limits<std::int32_t>::max());
}
