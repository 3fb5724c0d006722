// Switch matching, host handle parsing and the settings path rule.
#include "app/launch_rules.h"

#include <cctype>
#include <cwchar>
#include <string>

bool MatchSwitch(const char* pszArgument, const char* pszLetter) {
    if (!pszArgument || !pszLetter || !pszLetter[0] || pszLetter[1])
        return false;
    const char* p = pszArgument;
    if (*p == '-' || *p == '/')
        ++p;
    const unsigned char ch = static_cast<unsigned char>(*p);
    // Only ASCII letters fold; a byte of a double-byte character never matches a letter.
    if (ch == 0 || ch >= 0x80)
        return false;
    return std::tolower(ch) == std::tolower(static_cast<unsigned char>(pszLetter[0]));
}

std::uint32_t ParseHostHandle(const char* pszArgument) {
    if (!pszArgument)
        return 0;
    const char* p = pszArgument;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool bNegative = false;
    if (*p == '+' || *p == '-')
        bNegative = *p++ == '-';
    std::uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = value * 10u + static_cast<std::uint32_t>(*p - '0');
    return bNegative ? 0u - value : value;
}

bool MakeProfilePath(const wchar_t* pszModulePath, wchar_t* pszOut, std::size_t nOutSize) {
    if (!pszOut || nOutSize == 0)
        return false;
    pszOut[0] = L'\0';
    const PathParts parts = SplitPath(pszModulePath);
    // Without a program name the result would be a bare ".ini" in whatever folder is current, or
    // a nameless one: no settings file is better than a file nobody meant.
    if (!pszModulePath || parts.drive.size() + parts.dir.size() == std::wcslen(pszModulePath))
        return false;
    const std::wstring path = parts.drive + parts.dir + parts.fname + L".ini";
    if (path.size() >= nOutSize)
        return false;
    path.copy(pszOut, path.size());
    pszOut[path.size()] = L'\0';
    return true;
}
