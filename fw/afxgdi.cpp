// Device contexts bound to CWnd objects, the back buffer, and the choice of a Japanese face
// Windows has.
#include "fw/afxgdi.h"

#include "fw/afxwin.h"

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    m_hDC = ::GetDC(m_hWnd);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CBackBuffer& CBackBuffer::operator=(CBackBuffer&& other) noexcept {
    if (this != &other) {
        Release();
        m_dc = std::move(other.m_dc);
        m_bitmap = std::move(other.m_bitmap);
        m_hOldBitmap = std::exchange(other.m_hOldBitmap, nullptr);
    }
    return *this;
}

CBackBuffer CBackBuffer::Create(HDC hDC, int cx, int cy) {
    CBackBuffer buffer;
    if (!(buffer.m_dc.m_hDC = ::CreateCompatibleDC(hDC)))
        return buffer;
    if (!buffer.m_bitmap.Attach(::CreateCompatibleBitmap(hDC, cx, cy))) {
        buffer.m_dc.DeleteDC();
        return buffer;
    }
    const HGDIOBJ hOld = ::SelectObject(buffer.m_dc, buffer.m_bitmap);
    if (!hOld || hOld == HGDI_ERROR) {
        buffer.m_dc.DeleteDC();
        buffer.m_bitmap.DeleteObject();
        return buffer;
    }
    buffer.m_hOldBitmap = hOld;
    return buffer;
}

void CBackBuffer::Release() {
    if (m_hOldBitmap)
        ::SelectObject(m_dc, std::exchange(m_hOldBitmap, nullptr));
    m_dc.DeleteDC();
    m_bitmap.DeleteObject();
}

namespace {
int CALLBACK OnFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM lParam) {
    *reinterpret_cast<bool*>(lParam) = true;
    return 0; // one is enough
}
} // namespace

bool AfxHasJapaneseFace(const char* pszFace) {
    const std::wstring face = AfxToWide(pszFace);
    if (face.empty() || face.size() >= LF_FACESIZE)
        return false;
    LOGFONTW lf{};
    lf.lfCharSet = SHIFTJIS_CHARSET;
    face.copy(lf.lfFaceName, face.size());
    bool bFound = false;
    const CClientDC dc(static_cast<HWND>(nullptr));
    ::EnumFontFamiliesExW(dc, &lf, &OnFaceFound, reinterpret_cast<LPARAM>(&bFound), 0);
    return bFound;
}

CString AfxChooseJapaneseFace(const char* const* ppFaces, std::size_t nFaces) {
    for (std::size_t i = 0; i < nFaces; ++i) {
        if (AfxHasJapaneseFace(ppFaces[i]))
            return CString(ppFaces[i]);
    }
    return CString(nFaces ? ppFaces[0] : "");
}
