// Helpers to look at GDI objects and pixels from a test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "fw/afxgdi.h"

// A device context that someone else owns, seen through the CDC interface.
class CDCHandle : public CDC {
public:
    explicit CDCHandle(HDC hDC) { m_hDC = hDC; }
    ~CDCHandle() { m_hDC = nullptr; }
};

// A 32-bit top-down DIB section selected into a memory DC: a target whose pixels can be read.
class CPixelTarget {
public:
    CPixelTarget(int cx, int cy);
    ~CPixelTarget();
    HDC Dc() const { return m_hDC; }
    // 0x00RRGGBB as the DIB stores it.
    std::uint32_t At(int x, int y) const {
        return m_pBits[static_cast<std::size_t>(y) * m_cx + x] & 0xFFFFFF;
    }
    void Fill(std::uint32_t rgb);
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

private:
    int m_cx, m_cy;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    std::uint32_t* m_pBits = nullptr;
};

// The index the GDI handle table gives the next object: it grows when objects leak and comes
// back to the same value when every object made in between was released.
unsigned NextGdiHandleIndex();
// The bytes held in blocks allocated from the process's heaps, the C runtime's included. (The
// process's private memory reads 0 under Wine.)
std::size_t HeapBytesInUse();
