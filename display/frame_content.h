// What one frame shows, composed from values alone: the four settings, one reading of the clock
// and the size of the area it is laid out in. No window, device context or application object.
#pragma once

#include "display/frame_layout.h"
#include "fw/afxstr.h"
#include "fw/afxtime.h"

// The settings a display window draws from, handed to it by whoever creates it.
struct FrameSettings {
    CTime m_timeFrom;
    CTime m_timeTo;
    CString m_strTitle;
    CString m_strSubject;
};

// What one frame shows: the text of each line and the client size they are laid out in. Two
// equal values give the same pixels.
struct FrameContent {
    CString lines[kFrameLineCount]; // in FrameLine order
    int cx = 0;
    int cy = 0;

    CString& Line(FrameLine line) { return lines[static_cast<int>(line)]; }
    const CString& Line(FrameLine line) const { return lines[static_cast<int>(line)]; }
};
bool operator==(const FrameContent& a, const FrameContent& b);

// The frame of the settings at the moment now, over a cx by cy area. The Today line and the
// countdown share that one moment, so they never disagree about the second shown.
FrameContent ComposeFrame(const FrameSettings& settings, CTime now, int cx, int cy);
