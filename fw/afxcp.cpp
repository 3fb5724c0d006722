// Conversions between code pages, through UTF-16.
#include "fw/afxcp.h"

#include <vector>

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
