// Path splitting, as _wsplitpath does.
#include "fw/afxpath.h"

PathParts SplitPath(const wchar_t* pszPath) {
    PathParts parts;
    if (!pszPath)
        return parts;
    const std::wstring path(pszPath);
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == L':') {
        parts.drive = path.substr(0, 2);
        start = 2;
    }
    const std::size_t lastSeparator = path.find_last_of(L"\\/");
    const std::size_t nameStart =
        lastSeparator == std::wstring::npos || lastSeparator < start ? start : lastSeparator + 1;
    const std::size_t lastDot = path.rfind(L'.');
    const std::size_t nameEnd = lastDot == std::wstring::npos || lastDot < nameStart ? path.size() : lastDot;
    parts.dir = path.substr(start, nameStart - start);
    parts.fname = path.substr(nameStart, nameEnd - nameStart);
    return parts;
}
