// Joining a picked date and a picked time of day into one time.
#pragma once

#include "fw/afxtime.h"

// Year, month and day of timeDate with hour, minute and second of timeOfDay, as local time.
// A value without local fields (negative) contributes zeros, which gives the invalid time.
CTime CombineDateTime(CTime timeDate, CTime timeOfDay);
