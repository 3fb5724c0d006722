// The countdown: remaining or overdue days, hours, minutes and seconds, and their two texts.
#pragma once

#include "fw/afxstr.h"
#include "fw/afxtime.h"

struct CountdownParts {
    bool bOverdue = false; // the due time is not in the future
    int nDays = 0;
    int nHours = 0;
    int nMinutes = 0;
    int nSeconds = 0;
};

CountdownParts ComputeCountdown(CTime timeDue, CTime timeNow);

// "残り %d 日と" or "期限オーバー %d 日と".
CString FormatDayLine(const CountdownParts& parts);
// "%02d:%02d:%02d", the same in both states.
CString FormatClockLine(const CountdownParts& parts);
