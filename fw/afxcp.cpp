// Conversions between the program's code page 932 texts and Windows' UTF-16, between code pages
// for the settings file's UTF-8 and UTF-16, and reading a window's text.
#include "fw/afxcp.h"

#include <vector>

std::wstring AfxToWide(const char* psz) {
    if (!psz || !*psz)
        return std::wstring();
    const int n = ::MultiByteToWideChar(kTextCodePage, 0, psz, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(kTextCodePage, 0, psz, -1, wide.data(), n);
    wide.resize(wide.size() - 1);
    return wide;
}

CString AfxFromWide(const wchar_t* psz) {
    if (!psz || !*psz)
        return CString();
    const int n = ::WideCharToMultiByte(kTextCodePage, 0, psz, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    ::WideCharToMultiByte(kTextCodePage, 0, psz, -1, text.data(), n, nullptr, nullptr);
    return CString(text.c_str());
}

int AfxByteLength(const wchar_t* pch, int nChars) {
    if (nChars <= 0)
        return 0;
    return ::WideCharToMultiByte(kTextCodePage, 0, pch, nChars, nullptr, 0, nullptr, nullptr);
}

std::wstring AfxGetWindowText(HWND hWnd) {
    // The length may be larger than the text (Windows allows for a conversion); what was copied
    // is what counts.
    const int nLen = ::GetWindowTextLengthW(hWnd);
    if (nLen <= 0)
        return std::wstring();
    std::vector<wchar_t> buffer(static_cast<std::size_t>(nLen) + 1, L'\0');
    const int nGot = ::GetWindowTextW(hWnd, buffer.data(), nLen + 1);
    return std::wstring(buffer.data(), static_cast<std::size_t>(nGot > 0 ? nGot : 0));
}

std::string AfxConvert(const std::string& text, UINT nFromCodePage, UINT nToCodePage) {
    if (text.empty())
        return text;
    const int n =
        ::MultiByteToWideChar(nFromCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0)
        return std::string();
    std::vector<wchar_t> wide(static_cast<std::size_t>(n));
    ::MultiByteToWideChar(nFromCodePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    const int m = ::WideCharToMultiByte(nToCodePage, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    if (m <= 0)
        return std::string();
    std::string out(static_cast<std::size_t>(m), '\0');
    ::WideCharToMultiByte(nToCodePage, 0, wide.data(), n, &out[0], m, nullptr, nullptr);
    return out;
}
