// Joining a picked date and a picked time of day into one time: the one rule the settings
// dialog applies to both of its picker pairs.
#pragma once

#include "fw/afxtime.h"

// The date's year, month and day with the time of day's hour, minute and second, as local time
// with daylight saving left to the runtime. On the first and last local day of the span a CTime
// can hold, a time of day beyond the span gives the span's nearer end.
CTime CombineDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
