// Watching the program's own calls into a system DLL: the test binary's import table entry for a
// function is pointed at a replacement for as long as the hook lives.
#pragma once

#include <windows.h>

class CImportHook {
public:
    // pszDll as the import table names it (e.g. "USER32.dll", compared without case).
    CImportHook(const char* pszDll, const char* pszFunction, void* pReplacement);
    ~CImportHook();
    CImportHook(const CImportHook&) = delete;
    CImportHook& operator=(const CImportHook&) = delete;

    bool Installed() const { return m_pSlot != nullptr; }
    // The function the entry held before, for the replacement to call on.
    template <class Fn> Fn Original() const { return reinterpret_cast<Fn>(m_pOriginal); }

private:
    void** m_pSlot = nullptr;
    void* m_pOriginal = nullptr;
};
