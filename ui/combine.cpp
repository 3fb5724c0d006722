// CombineDateTime.
#include "ui/combine.h"

CTime CombineDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
    const CTime combined(nYear, nMonth, nDay, nHour, nMin, nSec, -1);
    if (combined.GetTime() >= 0)
        return combined;
    // Only the span's first and last local days can fall outside it.
    return CTime(nYear <= 1970 ? 0 : CTime::kMaxTime);
}
