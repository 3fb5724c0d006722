// CCountdownWnd: the window that shows the countdown, checked every 100 ms and redrawn through
// a back buffer the size of its client area whenever what it shows has changed. It serves the
// preview host, the full-screen saver and the settings dialog alike.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "display/frame_content.h"
#include "display/frame_layout.h"
#include "fw/afxgdi.h"
#include "fw/afxstr.h"
#include "fw/afxwin.h"

constexpr UINT_PTR TIMER_REDRAW = 1;

class CCountdownWnd : public CWnd {
public:
    explicit CCountdownWnd(BOOL bAutoDelete);
    ~CCountdownWnd() override;

    // Creates the window: rect is in the parent's client coordinates (screen coordinates
    // without a parent). Returns nonzero when the window exists.
    virtual BOOL Create(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, HWND hWndParent);

    // The settings every later frame shows; the next tick draws them.
    void SetSettings(const FrameSettings& settings);

    UINT_PTR StartRedrawTimer(UINT nElapse);
    // Draws one whole frame into the back buffer and copies it onto pDC.
    void DrawFrame(CDC* pDC);

    const MsgMap* GetMessageMap() const override;
    void PostNcDestroy() override;

    // The back buffer, for the window's tests: null before the first WM_SIZE.
    HDC GetBufferDC() const { return m_pMemDC ? m_pMemDC->GetSafeHdc() : nullptr; }
    HBITMAP GetBufferBitmap() const { return m_pBitmap ? m_pBitmap->GetSafeHandle() : nullptr; }

protected:
    // Called when the window is made: starts the timer and picks the faces the frame is drawn in.
    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnSize(UINT nType, int cx, int cy);
    void OnTimer(UINT_PTR nIDEvent);
    void OnPaint();

    std::unique_ptr<CDC> m_pMemDC;
    std::unique_ptr<CBitmap> m_pBitmap;
    int m_cxBuffer = 0;
    int m_cyBuffer = 0;
    CBrush m_brushBack;
    BOOL m_bAutoDelete;
    FrameSettings m_settings;
    // The faces of the frame's fixed and proportional fonts: the intended Gothic faces, or where
    // Windows lacks them, the Japanese faces that stand in.
    CString m_strFixedFace;
    CString m_strProportionalFace;
    // What the last tick drew over the whole window; empty when the next tick must draw.
    std::optional<FrameContent> m_lastDrawn;

private:
    void ReleaseBackBuffer();
    // What a frame drawn now shows: the clock as it reads now, the window's settings, the client
    // size.
    FrameContent ComposeFrame() const;
    void DrawFrame(CDC* pDC, const FrameContent& frame);
};
