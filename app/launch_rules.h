// The rules of the command line and of the settings path; no window system involved.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fw/afxpath.h"

// TRUE when the argument selects the one-letter switch: one optional '-' or '/', then the
// letter, ignoring case; whatever follows it is ignored.
bool MatchSwitch(const char* pszArgument, const char* pszLetter);

// The preview host's window handle from the second argument, read as atol does (white space,
// optional sign, decimal digits). Returns 0 when the argument is missing or holds no number.
// Handles are 32-bit values on every Windows, so the number is taken modulo 2^32.
std::uint32_t ParseHostHandle(const char* pszArgument);

// The settings path: the program's path with ".ini" in place of its extension, written into
// pszOut (nOutSize characters with the terminator). Returns false, leaving pszOut empty, when the
// path names no file (empty, or ending in a separator or drive) or the result would not fit.
bool MakeProfilePath(const wchar_t* pszModulePath, wchar_t* pszOut, std::size_t nOutSize);
