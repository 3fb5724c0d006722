// ComposeFrame and DrawFrame: the texts one frame shows; the frame drawn in the back buffer and
// copied to the window, whole or only the rows of the lines that changed, so a half-drawn frame
// never reaches the screen.
#include <algorithm>
#include <cwchar>
#include <iterator>
#include <vector>

#include "app/countdown_app.h"
#include "display/countdown.h"
#include "display/countdown_wnd.h"
#include "display/frame_layout.h"

namespace {

// One font group: the font is created, selected, used for its lines, deselected and deleted.
// A font that cannot be created is never selected; its lines use the font already there.
class CFontGroup {
public:
    CFontGroup(HDC hDC, FrameFont font, const char* pszFace, int cyClient)
        : m_hDC(hDC), m_font(MakeFont(font, pszFace, cyClient)), m_select(hDC, m_font.GetSafeHandle()) {}

    // The text is measured and drawn in one wide form, so the layout follows what is drawn.
    void Draw(const FrameRow& row, const CString& text, int cxClient, int cyClient) {
        if (row.color != m_color) {
            m_color = row.color;
            ::SetTextColor(m_hDC, m_color);
        }
        const CA2W wide(text);
        const int nChars = static_cast<int>(std::wcslen(wide));
        SIZE size{};
        ::GetTextExtentPoint32W(m_hDC, wide, nChars, &size);
        const TextPos pos = PlaceFrameLine(row.line, cxClient, cyClient, size.cx);
        ::TextOutW(m_hDC, pos.x, pos.y, wide, nChars);
    }

    // The rows a line whose cell starts at row y can ink with any text in this font: the cell,
    // widened to the font's bounding box of all its glyphs where the font has one, and a row more
    // either side for smoothing.
    RowSpan InkRows(int y) const {
        TEXTMETRICW tm{};
        ::GetTextMetricsW(m_hDC, &tm);
        LONG above = 0, below = tm.tmHeight; // from the top of the cell
        const UINT cb = ::GetOutlineTextMetricsW(m_hDC, 0, nullptr);
        std::vector<OUTLINETEXTMETRICW> otm(cb / sizeof(OUTLINETEXTMETRICW) + 1);
        if (cb && ::GetOutlineTextMetricsW(m_hDC, cb, otm.data())) {
            above = std::min(above, tm.tmAscent - otm[0].otmrcFontBox.top);
            below = std::max(below, tm.tmAscent - otm[0].otmrcFontBox.bottom);
        } else {
            // A font without outlines reports no bounding box: a quarter cell more either way.
            above -= tm.tmHeight / 4;
            below += tm.tmHeight / 4;
        }
        return {y + static_cast<int>(above) - 1, y + static_cast<int>(below) + 1};
    }

private:
    static CFont MakeFont(FrameFont font, const char* pszFace, int cyClient) {
        CFont result;
        result.CreateFont(FrameFontHeight(font, cyClient), 0, 0, 0, FW_DONTCARE, FrameFontItalic(font), FALSE,
                          FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, pszFace);
        return result;
    }

    HDC m_hDC;
    CFont m_font; // declared before the guard: deleted only after it is deselected
    CSelectObject m_select;
    COLORREF m_color = CLR_INVALID; // the text colour selected now; none set yet
};

bool Meet(const RowSpan& a, const RowSpan& b) {
    return a.top < b.bottom && b.top < a.bottom;
}

} // namespace

bool operator==(const FrameContent& a, const FrameContent& b) {
    return a.cx == b.cx && a.cy == b.cy &&
           std::equal(std::begin(a.lines), std::end(a.lines), std::begin(b.lines));
}

FrameContent CCountdownWnd::ComposeFrame() const {
    const CCountdownApp* pApp = GetCountdownApp();
    FrameContent frame;
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    frame.cx = rc.right - rc.left;
    frame.cy = rc.bottom - rc.top;
    frame.Line(FrameLine::Today) = CTime::GetCurrentTime().Format("Today  : %Y/%m/%d %H:%M:%S (%a)");
    frame.Line(FrameLine::Start) = pApp->m_timeFrom.Format("開始日 : %Y/%m/%d %H:%M:%S (%a)");
    frame.Line(FrameLine::Due) = pApp->m_timeTo.Format("終了日 : %Y/%m/%d %H:%M:%S (%a)");
    frame.Line(FrameLine::Title) = pApp->m_strTitle;
    frame.Line(FrameLine::Subject) = pApp->m_strSubject;
    // The countdown reads the clock once more, after the Today line.
    const CountdownParts parts = ComputeCountdown(pApp->m_timeTo, CTime::GetCurrentTime());
    frame.Line(FrameLine::DayLine) = FormatDayLine(parts);
    frame.Line(FrameLine::Clock) = FormatClockLine(parts);
    return frame;
}

void CCountdownWnd::DrawFrame(CDC* pDC) {
    DrawFrame(pDC, ComposeFrame());
}

void CCountdownWnd::DrawFrame(CDC* pDC, const FrameContent& frame) {
    // The buffer gets a frame the window may not show: the next tick draws all of it again.
    m_lastDrawn.reset();
    if (!m_buffer) {
        // No buffer could be made: black, rather than whatever was on the screen before.
        ::PatBlt(*pDC, 0, 0, frame.cx, frame.cy, BLACKNESS);
        return;
    }
    RenderRows(frame, {0, frame.cy});
    ::BitBlt(*pDC, 0, 0, frame.cx, frame.cy, m_buffer.GetSafeHdc(), 0, 0, SRCCOPY);
}

void CCountdownWnd::ShowFrame(const FrameContent& frame) {
    if (!m_buffer || m_lastDrawn == frame)
        return;
    CClientDC dc(this);
    if (!m_lastDrawn || m_lastDrawn->cx != frame.cx || m_lastDrawn->cy != frame.cy) {
        DrawFrame(&dc, frame);
    } else {
        bool changed[kFrameLineCount];
        for (int i = 0; i < kFrameLineCount; ++i)
            changed[i] = m_lastDrawn->Line(kFrameRows[i].line) != frame.Line(kFrameRows[i].line);
        for (const RowSpan& rows : FrameSpansToRedraw(m_inkRows, changed, frame.cy)) {
            RenderRows(frame, rows);
            ::BitBlt(dc, 0, rows.top, frame.cx, rows.bottom - rows.top, m_buffer.GetSafeHdc(), 0, rows.top,
                     SRCCOPY);
        }
    }
    m_lastDrawn = frame;
}

void CCountdownWnd::RenderRows(const FrameContent& frame, RowSpan rows) {
    const HDC hMem = m_buffer.GetSafeHdc();
    const int W = frame.cx;
    const int H = frame.cy;
    const bool bWhole = rows.top <= 0 && rows.bottom >= H;

    // Lines that reach into the rows from outside them paint only their part inside.
    ::IntersectClipRect(hMem, 0, rows.top, W, rows.bottom);
    ::PatBlt(hMem, 0, rows.top, W, rows.bottom - rows.top, BLACKNESS);
    ::SetBkMode(hMem, TRANSPARENT);

    // One font at a time, each made, used for its lines in order, and gone before the next; a
    // font none of whose lines meet the rows is not made at all.
    for (int first = 0, end = 0; first < kFrameLineCount; first = end) {
        const FrameFont font = kFrameRows[first].font;
        bool anyMeets = bWhole;
        for (end = first; end < kFrameLineCount && kFrameRows[end].font == font; ++end)
            anyMeets = anyMeets || Meet(m_inkRows[end], rows);
        if (!anyMeets)
            continue;
        CFontGroup group(hMem, font, FrameFontProportional(font) ? m_strProportionalFace : m_strFixedFace, H);
        for (int i = first; i < end; ++i) {
            const FrameRow& row = kFrameRows[i];
            // A whole frame finds out which rows each line can ink, for the frames that follow.
            if (bWhole)
                m_inkRows[i] = group.InkRows(PlaceFrameLine(row.line, W, H, 0).y);
            else if (!Meet(m_inkRows[i], rows))
                continue;
            group.Draw(row, frame.Line(row.line), W, H);
        }
    }
    ::SelectClipRgn(hMem, nullptr);
}
