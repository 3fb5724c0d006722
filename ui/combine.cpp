// CombineDateTime.
#include "ui/combine.h"

#include <limits>

CTime CombineDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
    const CTime combined(nYear, nMonth, nDay, nHour, nMin, nSec, -1);
    if (combined.GetTime() >= 0)
        return combined;
    return CTime(nYear < 2000 ? 0 : std::numeric_limits<std::int32_t>::max());
}
