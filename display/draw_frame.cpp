// DrawFrame: the frame drawn in the back buffer and copied to the window, whole or only where the
// lines that changed can ink, so a half-drawn frame never reaches the screen.
#include <algorithm>
#include <cwchar>
#include <iterator>
#include <vector>

#include "display/countdown_wnd.h"
#include "display/frame_layout.h"

namespace {

// One font group: the font is selected, used for its lines and deselected. A font that could not
// be created is never selected; its lines use the font already there.
class CFontGroup {
public:
    CFontGroup(HDC hDC, HFONT hFont) : m_hDC(hDC), m_select(hDC, hFont) {}

    // The text is measured and drawn in one wide form, so the layout follows what is drawn. With
    // pInk, also finds the area the text can ink (see Ink).
    void Draw(const FrameRow& row, const CString& text, int cxClient, int cyClient,
              FrameArea* pInk = nullptr) {
        if (row.color != m_color) {
            m_color = row.color;
            ::SetTextColor(m_hDC, m_color);
        }
        const CA2W wide(text);
        const int nChars = static_cast<int>(std::wcslen(wide));
        SIZE size{};
        ::GetTextExtentPoint32W(m_hDC, wide, nChars, &size);
        const TextPos pos = PlaceFrameLine(row.line, cxClient, cyClient, size.cx);
        if (pInk)
            *pInk = InkAt(pos, size.cx, wide, nChars);
        ::TextOutW(m_hDC, pos.x, pos.y, wide, nChars);
    }

    // The area the line's text can ink where the layout puts it, without drawing it.
    FrameArea Ink(const FrameRow& row, const CString& text, int cxClient, int cyClient) const {
        const CA2W wide(text);
        const int nChars = static_cast<int>(std::wcslen(wide));
        SIZE size{};
        ::GetTextExtentPoint32W(m_hDC, wide, nChars, &size);
        return InkAt(PlaceFrameLine(row.line, cxClient, cyClient, size.cx), size.cx, wide, nChars);
    }

    // Where newText, in place of oldText on the line, changes the ink: the characters from the
    // first that differs to the last, old and new alike, with the overhang of those at the ends
    // and a quarter cell for the slant of italics. False where the line moves or its characters
    // after the last that differs move, or it changes its length: then its whole ink changes.
    bool ChangedPart(const FrameRow& row, const CString& oldText, const CString& newText, int cxClient,
                     int cyClient, FrameArea* pArea) const {
        const CA2W oldWide(oldText), newWide(newText);
        const int nChars = static_cast<int>(std::wcslen(newWide));
        if (nChars == 0 || static_cast<int>(std::wcslen(oldWide)) != nChars)
            return false;
        int first = 0, last = nChars - 1;
        while (first < nChars && oldWide[first] == newWide[first])
            ++first;
        while (last > first && oldWide[last] == newWide[last])
            --last;
        if (first == nChars)
            return false;
        const auto extent = [&](const wchar_t* psz, int n) {
            SIZE size{};
            ::GetTextExtentPoint32W(m_hDC, psz, n, &size);
            return static_cast<int>(size.cx);
        };
        const int cx = extent(newWide, nChars);
        const int through = extent(newWide, last + 1);
        if (extent(oldWide, nChars) != cx || extent(oldWide, last + 1) != through)
            return false;
        const TextPos pos = PlaceFrameLine(row.line, cxClient, cyClient, cx);
        ABC oldFirst{}, newFirst{}, oldLast{}, newLast{};
        ::GetCharABCWidthsW(m_hDC, oldWide[first], oldWide[first], &oldFirst);
        ::GetCharABCWidthsW(m_hDC, newWide[first], newWide[first], &newFirst);
        ::GetCharABCWidthsW(m_hDC, oldWide[last], oldWide[last], &oldLast);
        ::GetCharABCWidthsW(m_hDC, newWide[last], newWide[last], &newLast);
        const int slack = CellHeight() / 4 + 2;
        FrameArea area = RowsAt(pos.y);
        area.left = pos.x + extent(newWide, first) + std::min({oldFirst.abcA, newFirst.abcA, 0}) - slack;
        area.right = pos.x + through + std::max({-oldLast.abcC, -newLast.abcC, 0}) + slack;
        *pArea = area;
        return true;
    }

private:
    int CellHeight() const {
        TEXTMETRICW tm{};
        ::GetTextMetricsW(m_hDC, &tm);
        return static_cast<int>(tm.tmHeight);
    }

    // The rows a line whose cell starts at row y can ink: the cell, widened to the bounding box
    // of all the font's glyphs where it has one, and a row more either side for smoothing.
    FrameArea RowsAt(int y) const {
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
        return {0, y + static_cast<int>(above) - 1, 0, y + static_cast<int>(below) + 1};
    }

    // The area a text cx wide at pos can ink: the rows of the cell, widened to the bounding box
    // of all the font's glyphs where it has one, and a row more either side for smoothing; the
    // columns of the text, widened by the overhang of its first and last glyphs and by a quarter
    // cell for the slant of italics. Empty for an empty text.
    FrameArea InkAt(TextPos pos, int cx, const wchar_t* pszText, int nChars) const {
        if (nChars == 0)
            return {};
        ABC first{}, last{};
        ::GetCharABCWidthsW(m_hDC, pszText[0], pszText[0], &first);
        ::GetCharABCWidthsW(m_hDC, pszText[nChars - 1], pszText[nChars - 1], &last);
        const int slack = CellHeight() / 4 + 2;
        FrameArea area = RowsAt(pos.y);
        area.left = pos.x + std::min(first.abcA, 0) - slack;
        area.right = pos.x + cx + std::max(-last.abcC, 0) + slack;
        return area;
    }

    HDC m_hDC;
    CSelectObject m_select;
    COLORREF m_color = CLR_INVALID; // the text colour selected now; none set yet
};

CFont MakeFont(FrameFont font, const char* pszFace, int cyClient) {
    CFont result;
    result.CreateFont(FrameFontHeight(font, cyClient), 0, 0, 0, FW_DONTCARE, FrameFontItalic(font), FALSE,
                      FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, pszFace);
    return result;
}

} // namespace

HFONT CCountdownWnd::FontFor(FrameFont font, int cy) {
    // Made anew for each client height, so their sizes follow the window's at once; between
    // heights they are kept, and so are the glyphs Windows renders for them.
    if (cy != m_cyFonts) {
        for (int i = 0; i < kFrameFontCount; ++i) {
            const FrameFont each = static_cast<FrameFont>(i);
            m_fonts[i].DeleteObject();
            m_fonts[i] = MakeFont(each, FaceOf(each), cy);
        }
        m_cyFonts = cy;
    }
    return m_fonts[static_cast<int>(font)];
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
    RenderArea(frame, {0, 0, frame.cx, frame.cy});
    ::BitBlt(*pDC, 0, 0, frame.cx, frame.cy, m_buffer.GetSafeHdc(), 0, 0, SRCCOPY);
}

void CCountdownWnd::ShowFrame(const FrameContent& frame) {
    if (!m_buffer || m_lastDrawn == frame)
        return;
    if (!m_lastDrawn || m_lastDrawn->cx != frame.cx || m_lastDrawn->cy != frame.cy) {
        CClientDC dc(this);
        DrawFrame(&dc, frame);
        m_lastDrawn = frame;
        return;
    }
    // Each changed line's new text is measured first: its area holds its old ink and its new.
    const HDC hMem = m_buffer.GetSafeHdc();
    bool changed[kFrameLineCount];
    FrameArea areas[kFrameLineCount];
    for (int first = 0, end = 0; first < kFrameLineCount; first = end) {
        const FrameFont font = kFrameRows[first].font;
        bool anyChanged = false;
        for (end = first; end < kFrameLineCount && kFrameRows[end].font == font; ++end) {
            const FrameLine line = kFrameRows[end].line;
            changed[end] = m_lastDrawn->Line(line) != frame.Line(line);
            anyChanged = anyChanged || changed[end];
        }
        if (!anyChanged)
            continue;
        const CFontGroup group(hMem, FontFor(font, frame.cy));
        for (int i = first; i < end; ++i) {
            if (!changed[i])
                continue;
            const FrameRow& row = kFrameRows[i];
            const CString& text = frame.Line(row.line);
            const FrameArea ink = group.Ink(row, text, frame.cx, frame.cy);
            // Mostly a few characters change (the seconds): only they are drawn and copied.
            if (!group.ChangedPart(row, m_lastDrawn->Line(row.line), text, frame.cx, frame.cy, &areas[i]))
                areas[i] = Union(m_ink[i], ink);
            m_ink[i] = ink;
        }
    }
    for (const FrameArea& area : FrameAreasToRedraw(areas, changed, frame.cx, frame.cy)) {
        RenderArea(frame, area);
        // A device context for each copy: Wine sends what a window's device context drew to the
        // display server as one rectangle around all of it when the context is released.
        ::BitBlt(CClientDC(this), area.left, area.top, area.right - area.left, area.bottom - area.top, hMem,
                 area.left, area.top, SRCCOPY);
    }
    m_lastDrawn = frame;
}

void CCountdownWnd::RenderArea(const FrameContent& frame, const FrameArea& area) {
    const HDC hMem = m_buffer.GetSafeHdc();
    const int W = frame.cx;
    const int H = frame.cy;
    const bool bWhole = area.left <= 0 && area.top <= 0 && area.right >= W && area.bottom >= H;

    // Lines that reach into the area from outside it paint only their part inside.
    ::IntersectClipRect(hMem, area.left, area.top, area.right, area.bottom);
    ::PatBlt(hMem, area.left, area.top, area.right - area.left, area.bottom - area.top, BLACKNESS);
    ::SetBkMode(hMem, TRANSPARENT);

    // One font at a time, each made, used for its lines in order, and gone before the next; a
    // font none of whose lines meet the area is not made at all.
    for (int first = 0, end = 0; first < kFrameLineCount; first = end) {
        const FrameFont font = kFrameRows[first].font;
        bool anyMeets = bWhole;
        for (end = first; end < kFrameLineCount && kFrameRows[end].font == font; ++end)
            anyMeets = anyMeets || Overlap(m_ink[end], area);
        if (!anyMeets)
            continue;
        CFontGroup group(hMem, FontFor(font, H));
        for (int i = first; i < end; ++i) {
            const FrameRow& row = kFrameRows[i];
            // A whole frame finds out where each line inks, for the frames that follow.
            if (!bWhole && !Overlap(m_ink[i], area))
                continue;
            group.Draw(row, frame.Line(row.line), W, H, bWhole ? &m_ink[i] : nullptr);
        }
    }
    ::SelectClipRgn(hMem, nullptr);
}
