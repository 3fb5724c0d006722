// CCountdownWnd: creation, back buffer, redraw timer and self-deletion.
#include "display/countdown_wnd.h"

#include <utility>

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
      m_strProportionalFace(kProportionalGothicFaces[0]) {
    m_brushBack.CreateSolidBrush(0);
}

CCountdownWnd::~CCountdownWnd() {
    ReleaseBackBuffer();
    m_brushBack.DeleteObject();
}

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

void CCountdownWnd::ReleaseBackBuffer() {
    // The memory device context goes first, so the bitmap is no longer selected anywhere.
    if (m_pMemDC)
        m_pMemDC->DeleteDC();
    if (m_pBitmap)
        m_pBitmap->DeleteObject();
    m_pMemDC.reset();
    m_pBitmap.reset();
}

void CCountdownWnd::OnSize(UINT, int cx, int cy) {
    Default();
    m_cxBuffer = cx;
    m_cyBuffer = cy;
    ReleaseBackBuffer();
    // The new buffer holds no frame yet, even where the size comes back to what it was.
    m_lastDrawn.reset();

    CClientDC dc(this);
    m_pMemDC = std::make_unique<CDC>();
    if (!m_pMemDC->CreateCompatibleDC(&dc)) {
        MessageBox("失敗:CreateCompatibleDC", nullptr, MB_OK);
        return;
    }
    m_pBitmap = std::make_unique<CBitmap>();
    if (!m_pBitmap->CreateCompatibleBitmap(&dc, m_cxBuffer, m_cyBuffer > 0 ? m_cyBuffer : 1)) {
        MessageBox("失敗:CreateCompatibleBitmap", nullptr, MB_OK);
        return;
    }
    ::SelectObject(*m_pMemDC, *m_pBitmap);
}

void CCountdownWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != TIMER_REDRAW) {
        Default();
        return;
    }
    // What is shown changes once a second, or with the window's size (the settings cannot change
    // while a display window exists); a tick that would draw the same pixels again draws nothing.
    FrameContent frame = ComposeFrame();
    if (m_lastDrawn == frame)
        return;
    CClientDC dc(this);
    DrawFrame(&dc, frame);
    m_lastDrawn = std::move(frame);
}

void CCountdownWnd::OnPaint() {
    CPaintDC dc(this);
    DrawFrame(&dc);
    // The copy reached only the region being painted; the next tick draws the whole window.
    m_lastDrawn.reset();
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
