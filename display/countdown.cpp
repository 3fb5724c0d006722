// Countdown arithmetic: truncating division per component, magnitudes per component, so the
// most negative distance needs no negation of the whole.
#include "display/countdown.h"

#include <cstdint>

namespace {

int Magnitude(std::int64_t n) {
    return static_cast<int>(n < 0 ? -n : n);
}

} // namespace

CountdownParts ComputeCountdown(CTime timeDue, CTime timeNow) {
    CountdownParts parts;
    parts.bOverdue = !(timeNow < timeDue);
    // Any two times of the span are under 400,000 days apart: the days fit an int.
    const std::int64_t secs = timeDue - timeNow;
    const std::int64_t d = secs / 86400;
    const std::int64_t h = secs / 3600 - 24 * d;
    const std::int64_t m = secs / 60 - 60 * (secs / 3600);
    const std::int64_t s = secs - 60 * (secs / 60);
    parts.nDays = Magnitude(d);
    parts.nHours = Magnitude(h);
    parts.nMinutes = Magnitude(m);
    parts.nSeconds = Magnitude(s);
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
