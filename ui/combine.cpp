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

CTime CombineWithinSpan(CTime timeDate, CTime timeOfDay) {
    const CTime combined = CombineDateTime(timeDate, timeOfDay);
    if (combined.GetTime() >= 0 || timeDate.GetTime() < 0 || timeOfDay.GetTime() < 0)
        return combined;
    constexpr std::int32_t kLast = std::numeric_limits<std::int32_t>::max();
    return CTime(timeDate.GetTime() < kLast / 2 ? 0 : kLast);
}
