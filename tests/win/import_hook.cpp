// Import table hooks.
#include "win/import_hook.h"

#include <cstring>

namespace {

void Store(void** pSlot, void* pValue) {
    DWORD oldProtect = 0;
    ::VirtualProtect(pSlot, sizeof *pSlot, PAGE_READWRITE, &oldProtect);
    *pSlot = pValue;
    ::VirtualProtect(pSlot, sizeof *pSlot, oldProtect, &oldProtect);
}

} // namespace

CImportHook::CImportHook(const char* pszDll, const char* pszFunction, void* pReplacement) {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name;
         ++imp) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + imp->Name), pszDll) != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), pszFunction) != 0)
                continue;
            m_pSlot = reinterpret_cast<void**>(&slots->u1.Function);
            m_pOriginal = *m_pSlot;
            Store(m_pSlot, pReplacement);
            return;
        }
    }
}

CImportHook::~CImportHook() {
    if (m_pSlot)
        Store(m_pSlot, m_pOriginal);
}
