// Code-page-aware path splitting, as the multibyte _splitpath does.
#include "fw/afxpath.h"

#include <cstring>

PathParts SplitPath(const char* pszPath, LeadBytePredicate isLeadByte) {
    PathParts parts;
    if (!pszPath)
        return parts;
    const std::size_t length = std::strlen(pszPath);
    std::size_t start = 0;
    if (length >= 2 && pszPath[1] == ':' && !isLeadByte(static_cast<unsigned char>(pszPath[0]))) {
        parts.drive.assign(pszPath, 2);
        start = 2;
    }
    // Positions just past the last separator and at the last dot, counted at character boundaries.
    std::size_t nameStart = start;
    std::size_t lastDot = std::string::npos;
    for (std::size_t i = start; i < length;) {
        const unsigned char ch = static_cast<unsigned char>(pszPath[i]);
        if (isLeadByte(ch) && i + 1 < length) {
            i += 2;
            continue;
        }
        if (ch == '\\' || ch == '/') {
            nameStart = i + 1;
            lastDot = std::string::npos;
        } else if (ch == '.') {
            lastDot = i;
        }
        ++i;
    }
    parts.dir.assign(pszPath + start, nameStart - start);
    const std::size_t nameEnd = lastDot == std::string::npos ? length : lastDot;
    parts.fname.assign(pszPath + nameStart, nameEnd - nameStart);
    parts.ext.assign(pszPath + nameEnd, length - nameEnd);
    return parts;
}
