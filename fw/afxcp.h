// Where text meets Windows. Inside, every text is code page 932 bytes, counted and cut as such,
// whatever the system's ANSI code page is; Windows gets it as UTF-16, converted with that one
// code page. Every conversion goes through this file (CA2W and CW2A for the length of a call), so
// a reader finds them all here.
#pragma once

#include <windows.h>

#include <string>

#include "fw/afxcodepage.h"
#include "fw/afxstr.h"

// A character code page 932 lacks becomes its nearest or '?'.
std::wstring AfxToWide(const char* psz);
CString AfxFromWide(const wchar_t* psz);

// The bytes the first nChars UTF-16 units of a text take in code page 932.
int AfxByteLength(const wchar_t* pch, int nChars);

// A window's whole text as Windows holds it, in UTF-16; empty when it has none or is gone.
std::wstring AfxGetWindowText(HWND hWnd);

// A text from one code page to another through UTF-16, for the settings file's UTF-8 and UTF-16
// text; a character the target lacks becomes its nearest or '?', and bytes that are no text of
// the source become U+FFFD first.
std::string AfxConvert(const std::string& text, UINT nFromCodePage, UINT nToCodePage);

// The wide form of a text for the length of the call that uses it; a null text stays null, as
// the W functions give a null pointer a meaning of its own.
class CA2W {
public:
    explicit CA2W(const char* psz) : m_str(AfxToWide(psz)), m_bNull(!psz) {}
    CA2W(const CA2W&) = delete;
    CA2W& operator=(const CA2W&) = delete;
    operator const wchar_t*() const { return m_bNull ? nullptr : m_str.c_str(); }

private:
    std::wstring m_str;
    bool m_bNull;
};

// The code page 932 form of a wide text.
class CW2A {
public:
    explicit CW2A(const wchar_t* psz) : m_str(AfxFromWide(psz)) {}
    CW2A(const CW2A&) = delete;
    CW2A& operator=(const CW2A&) = delete;
    operator const char*() const { return m_str; }
    const CString& GetString() const { return m_str; }

private:
    CString m_str;
};
