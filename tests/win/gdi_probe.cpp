// Pixel targets and GDI handle probes.
#include "win/gdi_probe.h"

#include <vector>

CPixelTarget::CPixelTarget(int cx, int cy) : m_cx(cx), m_cy(cy) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_hDC = ::CreateCompatibleDC(nullptr);
    m_hBitmap = ::CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_pBits = static_cast<std::uint32_t*>(bits);
    m_hOld = ::SelectObject(m_hDC, m_hBitmap);
}

CPixelTarget::~CPixelTarget() {
    ::SelectObject(m_hDC, m_hOld);
    ::DeleteObject(m_hBitmap);
    ::DeleteDC(m_hDC);
}

void CPixelTarget::Fill(std::uint32_t rgb) {
    ::GdiFlush();
    for (int i = 0; i < m_cx * m_cy; ++i)
        m_pBits[i] = rgb;
}

unsigned NextGdiHandleIndex() {
    const HBRUSH h = ::CreateSolidBrush(0);
    const unsigned index = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(h) & 0xFFFF);
    ::DeleteObject(h);
    return index;
}

std::size_t HeapBytesInUse() {
    std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    std::size_t bytes = 0;
    for (const HANDLE hHeap : heaps) {
        if (!::HeapLock(hHeap))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(hHeap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                bytes += entry.cbData;
        ::HeapUnlock(hHeap);
    }
    return bytes;
}
