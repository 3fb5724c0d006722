// CCountdownWnd: creation, back buffer, redraw timer and self-deletion.
#include "display/countdown_wnd.h"

#include "res/resource.h"

namespace {
// One window class for every display window of the process.
CString& CachedClassName() {
    static CString name;
    return name;
}
} // namespace

CCountdownWnd::CCountdownWnd(BOOL bAutoDelete)
    : m_bAutoDelete(bAutoDelete), m_strFixedFace(kFixedGothicFaces[0]),
      m_strProportionalFace(kProportionalGothicFaces[0]) {}

CCountdownWnd::~CCountdownWnd() = default;

const MsgMap* CCountdownWnd::GetMessageMap() const {
    static constexpr MsgEntry entries[] = {
        On<WM_CREATE, &CCountdownWnd::OnCreate>(),
        On<WM_SIZE, &CCountdownWnd::OnSize>(),
        On<WM_TIMER, &CCountdownWnd::OnTimer>(),
        On<WM_PAINT, &CCountdownWnd::OnPaint>(),
    };
    static const MsgMap map{CWnd::GetMessageMap(), entries, std::size(entries)};
    return &map;
}

BOOL CCountdownWnd::Create(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, HWND hWndParent) {
    CString& className = CachedClassName();
    if (className.IsEmpty()) {
        const HCURSOR hCursor =
            ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_SAVER_CURSOR));
        className = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, hCursor, nullptr, nullptr);
        if (className.IsEmpty())
            return FALSE;
    }
    return CreateEx(dwExStyle, className, "", dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, hWndParent, nullptr);
}

void CCountdownWnd::SetSettings(const FrameSettings& settings) {
    m_settings = settings;
    // New settings are drawn whole, as a new size is.
    m_lastDrawn.reset();
}

UINT_PTR CCountdownWnd::StartRedrawTimer(UINT nElapse) {
    ::KillTimer(m_hWnd, TIMER_REDRAW);
    return ::SetTimer(m_hWnd, TIMER_REDRAW, nElapse, nullptr);
}

int CCountdownWnd::OnCreate(LPCREATESTRUCTW) {
    if (Default() == -1)
        return -1;
    m_strFixedFace = AfxChooseJapaneseFace(kFixedGothicFaces);
    m_strProportionalFace = AfxChooseJapaneseFace(kProportionalGothicFaces);
    StartRedrawTimer(100);
    return 0;
}

void CCountdownWnd::OnSize(UINT, int cx, int cy) {
    Default();
    m_cxBuffer = cx;
    m_cyBuffer = cy;
    // The old buffer goes first, so that two buffers of the screen's size never coexist.
    m_buffer.Release();
    // The new buffer holds no frame yet, even where the size comes back to what it was.
    m_lastDrawn.reset();
    CClientDC dc(this);
    m_buffer = CBackBuffer::Create(dc, cx, cy > 0 ? cy : 1);
    // Without a buffer the window is painted black. No message box: over a topmost saver no one
    // could see or close it.
    if (!m_buffer)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CCountdownWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != TIMER_REDRAW) {
        Default();
        return;
    }
    // What is shown changes once a second, or with the window's size or the settings; a tick
    // draws and copies only the lines that changed, and nothing when none did.
    ShowFrame(ComposeFrame());
}

void CCountdownWnd::OnPaint() {
    // The buffer is brought up to date first, so that what is painted agrees with the rest.
    ShowFrame(ComposeFrame());
    CPaintDC dc(this);
    if (m_buffer)
        ::BitBlt(dc, 0, 0, m_cxBuffer, m_cyBuffer, m_buffer.GetSafeHdc(), 0, 0, SRCCOPY);
    else
        ::PatBlt(dc, 0, 0, m_cxBuffer, m_cyBuffer, BLACKNESS);
}

FrameContent CCountdownWnd::ComposeFrame() const {
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return ::ComposeFrame(m_settings, CTime::GetCurrentTime(), rc.right - rc.left, rc.bottom - rc.top);
}

void CCountdownWnd::PostNcDestroy() {
    if (m_bAutoDelete)
        delete this;
}
