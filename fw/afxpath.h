// Splitting a path into drive, directory and file name. Paths are held in UTF-16, where no part
// of another character can be taken for a separator or a dot.
#pragma once

#include <string>

struct PathParts {
    std::wstring drive; // "C:" or empty
    std::wstring dir;   // up to and including the last separator after the drive
    std::wstring fname; // the file name without its extension (from its last '.')
};

PathParts SplitPath(const wchar_t* pszPath);
