// Joining a picked date and a picked time of day into one time.
#pragma once

#include "fw/afxtime.h"

// Year, month and day of timeDate with hour, minute and second of timeOfDay, as local time.
// A value without local fields (negative) contributes zeros, which gives the invalid time.
CTime CombineDateTime(CTime timeDate, CTime timeOfDay);

// CombineDateTime held inside the span a CTime can hold. On the first and the last local day of
// that span part of the day lies outside it; a time of day there gives the span's nearer end.
CTime CombineWithinSpan(CTime timeDate, CTime timeOfDay);
