// DrawFrame: one whole frame of the countdown, composed in the back buffer and shown with a
// single block transfer, so a half-drawn frame never reaches the screen.
#include "app/countdown_app.h"
#include "display/countdown.h"
#include "display/countdown_wnd.h"
#include "display/frame_layout.h"

namespace {

constexpr COLORREF kGreen = 0x0000FF00;
constexpr COLORREF kCyan = 0x00FFFF00;
const char kFixedFace[] = "ＭＳ ゴシック";
const char kProportionalFace[] = "ＭＳ Ｐゴシック";

// One font group: the font is created, selected, used for its lines, deselected and deleted.
// A font that cannot be created is never selected; its lines use the font already there.
class CFontGroup {
public:
    CFontGroup(HDC hDC, FrameFont font, int cyClient, COLORREF color)
        : m_hDC(hDC), m_font(MakeFont(font, cyClient)), m_select(hDC, m_font.GetSafeHandle()) {
        ::SetTextColor(hDC, color);
    }

    void Draw(FrameLine line, const CString& text, int cxClient, int cyClient) const {
        SIZE size{};
        ::GetTextExtentPoint32A(m_hDC, text, text.GetLength(), &size);
        const TextPos pos = PlaceFrameLine(line, cxClient, cyClient, size.cx);
        ::TextOutA(m_hDC, pos.x, pos.y, text, text.GetLength());
    }

private:
    static CFont MakeFont(FrameFont font, int cyClient) {
        CFont result;
        result.CreateFont(FrameFontHeight(font, cyClient), 0, 0, 0, FW_DONTCARE, FrameFontItalic(font), FALSE,
                          FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, font == FrameFont::B ? kProportionalFace : kFixedFace);
        return result;
    }

    HDC m_hDC;
    CFont m_font; // declared before the guard: deleted only after it is deselected
    CSelectObject m_select;
};

} // namespace

void CCountdownWnd::DrawFrame(CDC* pDC) {
    // Only a failed rebuild leaves no buffer; the window then keeps what it shows.
    if (!m_pMemDC || !m_pMemDC->GetSafeHdc())
        return;
    const HDC hMem = *m_pMemDC;
    const CCountdownApp* pApp = GetCountdownApp();

    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    const int W = rc.right - rc.left;
    const int H = rc.bottom - rc.top;

    if (m_brushBack.GetSafeHandle())
        ::SelectObject(hMem, m_brushBack);
    ::Rectangle(hMem, rc.left, rc.top, rc.right, rc.bottom);

    {
        ::SetBkMode(hMem, TRANSPARENT);
        CFontGroup group(hMem, FrameFont::A, H, kGreen);
        group.Draw(FrameLine::Today, CTime::GetCurrentTime().Format("Today  : %Y/%m/%d %H:%M:%S (%a)"), W, H);
        ::SetTextColor(hMem, kCyan);
        group.Draw(FrameLine::Start, pApp->m_timeFrom.Format("開始日 : %Y/%m/%d %H:%M:%S (%a)"), W, H);
        group.Draw(FrameLine::Due, pApp->m_timeTo.Format("終了日 : %Y/%m/%d %H:%M:%S (%a)"), W, H);
    }
    {
        ::SetBkMode(hMem, TRANSPARENT);
        CFontGroup group(hMem, FrameFont::B, H, kGreen);
        group.Draw(FrameLine::Title, pApp->m_strTitle, W, H);
        group.Draw(FrameLine::Subject, pApp->m_strSubject, W, H);
    }
    const CountdownParts parts = ComputeCountdown(pApp->m_timeTo, CTime::GetCurrentTime());
    {
        ::SetBkMode(hMem, TRANSPARENT);
        CFontGroup group(hMem, FrameFont::C, H, kGreen);
        group.Draw(FrameLine::DayLine, FormatDayLine(parts), W, H);
    }
    {
        ::SetBkMode(hMem, TRANSPARENT);
        CFontGroup group(hMem, FrameFont::D, H, kGreen);
        group.Draw(FrameLine::Clock, FormatClockLine(parts), W, H);
    }

    ::BitBlt(*pDC, rc.left, rc.top, W, H, hMem, rc.left, rc.top, SRCCOPY);
}
