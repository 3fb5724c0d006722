// CString: a counted, NUL-terminated byte string in code page 932. Lengths are in bytes.
#pragma once

#include <string>

#include "fw/afxcodepage.h"

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* pch, int nLength) : m_str(pch, nLength > 0 ? static_cast<std::size_t>(nLength) : 0) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    const char* GetString() const { return m_str.c_str(); }
    operator const char*() const { return m_str.c_str(); }

    // printf-style formatting; the result replaces the contents.
    void Format(const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));

    CString& operator+=(const CString& other) {
        m_str += other.m_str;
        return *this;
    }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_str != b.m_str; }

private:
    std::string m_str;
};
