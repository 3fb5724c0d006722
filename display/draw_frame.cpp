// DrawFrame: the whole frame drawn in the back buffer and shown with a single block transfer, so a
// half-drawn frame never reaches the screen.
#include <algorithm>
#include <cwchar>
#include <iterator>

#include "display/countdown_wnd.h"
#include "display/frame_layout.h"

namespace {

constexpr COLORREF kGreen = 0x0000FF00;
constexpr COLORREF kCyan = 0x00FFFF00;

// The seven lines as the frame shows them, top to bottom: each with its font and colour. Lines of
// one font stand together, so that each font is made once.
struct FrameRow {
    FrameLine line;
    FrameFont font;
    COLORREF color;
};
constexpr FrameRow kFrameRows[kFrameLineCount] = {
    {FrameLine::Today, FrameFont::A, kGreen},   {FrameLine::Start, FrameFont::A, kCyan},
    {FrameLine::Due, FrameFont::A, kCyan},      {FrameLine::Title, FrameFont::B, kGreen},
    {FrameLine::Subject, FrameFont::B, kGreen}, {FrameLine::DayLine, FrameFont::C, kGreen},
    {FrameLine::Clock, FrameFont::D, kGreen},
};

// One font group: the font is created, selected, used for its lines, deselected and deleted.
// A font that cannot be created is never selected; its lines use the font already there.
class CFontGroup {
public:
    CFontGroup(HDC hDC, FrameFont font, const char* pszFace, int cyClient, COLORREF color)
        : m_hDC(hDC), m_font(MakeFont(font, pszFace, cyClient)), m_select(hDC, m_font.GetSafeHandle()),
          m_color(color) {
        ::SetTextColor(hDC, color);
    }

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
    COLORREF m_color; // the text colour selected now
};

} // namespace

void CCountdownWnd::DrawFrame(CDC* pDC) {
    DrawFrame(pDC, ComposeFrame());
}

void CCountdownWnd::DrawFrame(CDC* pDC, const FrameContent& frame) {
    // Only a failed rebuild leaves no buffer; the window then keeps what it shows.
    if (!m_pMemDC || !m_pMemDC->GetSafeHdc())
        return;
    const HDC hMem = *m_pMemDC;
    const int W = frame.cx;
    const int H = frame.cy;

    if (m_brushBack.GetSafeHandle())
        ::SelectObject(hMem, m_brushBack);
    ::Rectangle(hMem, 0, 0, W, H);

    // One font at a time, each made, used for its lines in order, and gone before the next.
    for (const FrameRow* pRow = std::begin(kFrameRows); pRow != std::end(kFrameRows);) {
        const FrameFont font = pRow->font;
        ::SetBkMode(hMem, TRANSPARENT);
        const CString& face = font == FrameFont::B ? m_strProportionalFace : m_strFixedFace;
        CFontGroup group(hMem, font, face, H, pRow->color);
        for (; pRow != std::end(kFrameRows) && pRow->font == font; ++pRow)
            group.Draw(*pRow, frame.Line(pRow->line), W, H);
    }

    ::BitBlt(*pDC, 0, 0, W, H, hMem, 0, 0, SRCCOPY);
}
