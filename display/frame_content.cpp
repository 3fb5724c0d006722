// The texts of a frame from the settings and one reading of the clock.
#include "display/frame_content.h"

#include <algorithm>
#include <iterator>

#include "display/countdown.h"

bool operator==(const FrameContent& a, const FrameContent& b) {
    return a.cx == b.cx && a.cy == b.cy &&
           std::equal(std::begin(a.lines), std::end(a.lines), std::begin(b.lines));
}

FrameContent ComposeFrame(const FrameSettings& settings, CTime now, int cx, int cy) {
    FrameContent frame;
    frame.cx = cx;
    frame.cy = cy;
    frame.Line(FrameLine::Today) = now.Format("Today  : %Y/%m/%d %H:%M:%S (%a)");
    frame.Line(FrameLine::Start) = settings.m_timeFrom.Format("開始日 : %Y/%m/%d %H:%M:%S (%a)");
    frame.Line(FrameLine::Due) = settings.m_timeTo.Format("終了日 : %Y/%m/%d %H:%M:%S (%a)");
    frame.Line(FrameLine::Title) = settings.m_strTitle;
    frame.Line(FrameLine::Subject) = settings.m_strSubject;
    const CountdownParts parts = ComputeCountdown(settings.m_timeTo, now);
    frame.Line(FrameLine::DayLine) = FormatDayLine(parts);
    frame.Line(FrameLine::Clock) = FormatClockLine(parts);
    return frame;
}
