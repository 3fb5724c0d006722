// CCountdownWnd: the window that shows the countdown, checked every 100 ms and redrawn through
// a back buffer the size of its client area where what it shows has changed. It serves the
// preview host, the full-screen saver and the settings dialog alike.
#pragma once

#include <windows.h>

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

    // The back buffer, for the window's tests: null before the first WM_SIZE, and where it could
    // not be made.
    HDC GetBufferDC() const { return m_buffer.GetSafeHdc(); }
    HBITMAP GetBufferBitmap() const { return m_buffer.GetBitmap(); }

protected:
    // Called when the window is made: starts the timer and picks the faces the frame is drawn in.
    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnSize(UINT nType, int cx, int cy);
    void OnTimer(UINT_PTR nIDEvent);
    void OnPaint();

    CBackBuffer m_buffer;
    int m_cxBuffer = 0;
    int m_cyBuffer = 0;
    BOOL m_bAutoDelete;
    FrameSettings m_settings;
    // The faces of the frame's fixed and proportional fonts: the intended Gothic faces, or where
    // Windows lacks them, the Japanese faces that stand in.
    CString m_strFixedFace;
    CString m_strProportionalFace;
    // What the back buffer and the window show; empty when the next tick must draw all of it.
    std::optional<FrameContent> m_lastDrawn;
    // Where each line (in kFrameRows order) of the frame in the back buffer can have ink: found
    // by the last whole frame and kept up by each tick, valid while m_lastDrawn holds a frame.
    FrameArea m_ink[kFrameLineCount]{};
    // The frame's fonts, in FrameFont order, for the client height m_cyFonts.
    CFont m_fonts[kFrameFontCount];
    int m_cyFonts = -1;

private:
    // What a frame drawn now shows: the clock as it reads now, the window's settings, the client
    // size.
    FrameContent ComposeFrame() const;
    void DrawFrame(CDC* pDC, const FrameContent& frame);
    // Brings the window up to frame: nothing when it shows it already; the areas of the lines
    // whose texts changed when it shows a frame of the same size; else the whole frame.
    void ShowFrame(const FrameContent& frame);
    // Draws, in the back buffer, the lines of frame that can ink the area, over black and cut to
    // it. Drawn over the whole client area, it also finds where each line can ink.
    void RenderArea(const FrameContent& frame, const FrameArea& area);
    // The frame's font for a client height cy; null where it could not be made.
    HFONT FontFor(FrameFont font, int cy);
    const CString& FaceOf(FrameFont font) const {
        return FrameFontProportional(font) ? m_strProportionalFace : m_strFixedFace;
    }
};
