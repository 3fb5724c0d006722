// Countdown arithmetic: truncating division per component, magnitudes per component, so the
// most negative distance needs no negation of the whole.
#include "display/countdown.h"

#include <cstdlib>

CountdownParts ComputeCountdown(CTime timeDue, CTime timeNow) {
    CountdownParts parts;
    parts.bOverdue = !(timeNow < timeDue);
    const int secs = timeDue - timeNow;
    const int d = secs / 86400;
    const int h = secs / 3600 - 24 * d;
    const int m = secs / 60 - 60 * (secs / 3600);
    const int s = secs - 60 * (secs / 60);
    parts.nDays = std::abs(d);
    parts.nHours = std::abs(h);
    parts.nMinutes = std::abs(m);
    parts.nSeconds = std::abs(s);
    return parts;
}

CString FormatDayLine(const CountdownParts& parts) {
    CString text;
    text.Format(parts.bOverdue ? "期限オーバー %d 日と" : "残り %d 日と", parts.nDays);
    return text;
}

CString FormatClockLine(const CountdownParts& parts) {
    CString text;
    text.Format("%02d:%02d:%02d", parts.nHours, parts.nMinutes, parts.nSeconds);
    return text;
}
