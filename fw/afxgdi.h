// Owning wrappers for GDI objects and device contexts. Each handle has exactly one owner:
// the wrappers move but never copy. Handles that are not owned stay plain handles.
#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>

#include "fw/afxcp.h"

class CWnd;

template <class H> class CGdiObjectT {
public:
    CGdiObjectT() = default;
    ~CGdiObjectT() { DeleteObject(); }
    CGdiObjectT(const CGdiObjectT&) = delete;
    CGdiObjectT& operator=(const CGdiObjectT&) = delete;
    CGdiObjectT(CGdiObjectT&& other) noexcept : m_hObject(std::exchange(other.m_hObject, nullptr)) {}
    CGdiObjectT& operator=(CGdiObjectT&& other) noexcept {
        if (this != &other) {
            DeleteObject();
            m_hObject = std::exchange(other.m_hObject, nullptr);
        }
        return *this;
    }

    operator H() const { return m_hObject; }
    H GetSafeHandle() const { return m_hObject; }

    // Takes ownership; a handle already held is released first.
    BOOL Attach(H hObject) {
        DeleteObject();
        m_hObject = hObject;
        return hObject != nullptr;
    }
    BOOL DeleteObject() {
        if (!m_hObject)
            return FALSE;
        return ::DeleteObject(std::exchange(m_hObject, nullptr));
    }

protected:
    H m_hObject = nullptr;
};

class CBrush : public CGdiObjectT<HBRUSH> {
public:
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
};

class CFont : public CGdiObjectT<HFONT> {
public:
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCSTR lpszFacename) {
        return Attach(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                    cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality,
                                    nPitchAndFamily, CA2W(lpszFacename)));
    }
};

// Whether Windows has a font family of this name for Shift-JIS text.
bool AfxHasJapaneseFace(const char* pszFace);
// The first of the faces that Windows has for Shift-JIS text; when it has none of them, the
// first, so that the font mapper picks a face of the character set. Asks Windows for each face
// in turn: call it when a window is made, not for every frame.
CString AfxChooseJapaneseFace(const char* const* ppFaces, std::size_t nFaces);
template <std::size_t N> CString AfxChooseJapaneseFace(const char* const (&faces)[N]) {
    return AfxChooseJapaneseFace(faces, N);
}
// The fixed and the proportional Gothic of the intended look, each followed by the faces that
// stand in where Windows lacks it: its English name (GDI may know the face by that alone), then
// Yu Gothic, which Windows 10 and 11 have in every language, then Meiryo, Windows 7's.
inline constexpr const char* kFixedGothicFaces[] = {"ＭＳ ゴシック", "MS Gothic", "Yu Gothic", "Meiryo"};
inline constexpr const char* kProportionalGothicFaces[] = {"ＭＳ Ｐゴシック", "MS PGothic", "Yu Gothic",
                                                           "Meiryo"};

class CDC;

class CBitmap : public CGdiObjectT<HBITMAP> {
public:
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
};

// A device context that this object owns: DeleteDC on release.
class CDC {
public:
    CDC() = default;
    ~CDC() { DeleteDC(); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    CDC(CDC&& other) noexcept : m_hDC(std::exchange(other.m_hDC, nullptr)) {}
    CDC& operator=(CDC&& other) noexcept {
        if (this != &other) {
            DeleteDC();
            m_hDC = std::exchange(other.m_hDC, nullptr);
        }
        return *this;
    }

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    BOOL CreateCompatibleDC(CDC* pDC) {
        DeleteDC();
        m_hDC = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
        return m_hDC != nullptr;
    }
    BOOL DeleteDC() {
        if (!m_hDC)
            return FALSE;
        return ::DeleteDC(std::exchange(m_hDC, nullptr));
    }

protected:
    friend class CBackBuffer;
    HDC m_hDC = nullptr;
};

inline BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC ? static_cast<HDC>(*pDC) : nullptr, nWidth, nHeight));
}

// GetDC ... ReleaseDC for a window's client area.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::GetDC(hWnd); }
    ~CClientDC() {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, std::exchange(m_hDC, nullptr));
    }

private:
    HWND m_hWnd;
};

// BeginPaint ... EndPaint.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() {
        ::EndPaint(m_hWnd, &m_ps);
        m_hDC = nullptr;
    }

    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// Selects an object into a device context and puts the previous one back when it goes out of
// scope. A null object is not selected, and then nothing is put back.
class CSelectObject {
public:
    CSelectObject(HDC hDC, HGDIOBJ hObject)
        : m_hDC(hDC), m_hOld(hObject ? ::SelectObject(hDC, hObject) : nullptr) {}
    ~CSelectObject() {
        if (m_hOld && m_hOld != HGDI_ERROR)
            ::SelectObject(m_hDC, m_hOld);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// An off-screen surface: a memory device context with a bitmap of its own selected into it.
// Made whole (device context, bitmap, selection, in that order) or not at all, so no one ever
// draws into a device context without its bitmap. One owner: it moves but never copies. On
// release the initial bitmap goes back into the device context, which goes before the bitmap.
class CBackBuffer {
public:
    CBackBuffer() = default;
    ~CBackBuffer() { Release(); }
    CBackBuffer(const CBackBuffer&) = delete;
    CBackBuffer& operator=(const CBackBuffer&) = delete;
    CBackBuffer(CBackBuffer&& other) noexcept { *this = std::move(other); }
    CBackBuffer& operator=(CBackBuffer&& other) noexcept;

    // A cx by cy buffer compatible with hDC; empty when any step fails.
    static CBackBuffer Create(HDC hDC, int cx, int cy);

    explicit operator bool() const { return m_dc.GetSafeHdc() != nullptr; }
    HDC GetSafeHdc() const { return m_dc.GetSafeHdc(); }
    HBITMAP GetBitmap() const { return m_bitmap.GetSafeHandle(); }
    // Frees the buffer at once; it is empty afterwards.
    void Release();

private:
    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap = nullptr; // what the device context held before m_bitmap
};
