// Splitting a path into drive, directory, file name and extension, aware of double-byte
// characters: a trail byte that happens to be 0x5C ('\') is no separator.
#pragma once

#include <string>

// Tells the lead bytes of double-byte characters in the code page the path is written in.
using LeadBytePredicate = bool (*)(unsigned char);

struct PathParts {
    std::string drive; // "C:" or empty
    std::string dir;   // up to and including the last separator after the drive
    std::string fname; // the file name without its extension
    std::string ext;   // from the last '.' after the last separator, or empty
};

PathParts SplitPath(const char* pszPath, LeadBytePredicate isLeadByte);
