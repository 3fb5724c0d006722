// CombineDateTime.
#include "ui/combine.h"

CTime CombineDateTime(CTime timeDate, CTime timeOfDay) {
    std::tm date{};
    std::tm tod{};
    const bool bDate = timeDate.GetLocalTm(&date);
    const bool bTime = timeOfDay.GetLocalTm(&tod);
    if (!bDate || !bTime)
        return CTime(CTime::kInvalid);
    return CTime(date.tm_year + 1900, date.tm_mon + 1, date.tm_mday, tod.tm_hour, tod.tm_min, tod.tm_sec, -1);
}
