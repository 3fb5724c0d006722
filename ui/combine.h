// Joining a picked date and a picked time of day into one time.
#pragma once

#include "fw/afxtime.h"

// Year, month and day of timeDate with hour, minute and second of timeOfDay, as local time.
// A value without local fields (negative) contributes zeros, which gives the invalid time.
CTime CombineDateTime(CTime timeDate, CTime timeOfDay);

// A picked date (year, month, day) and time of day as local time, held inside the span a CTime
// can hold: on the span's first and last local day a time of day beyond it gives the nearer end.
CTime CombineFieldsWithinSpan(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
