// Message map lookup.
#include "fw/afxmsg.h"

const MsgEntry* FindMsgEntry(const MsgMap* pMap, UINT msg, UINT code, UINT id) {
    for (; pMap; pMap = pMap->base) {
        for (std::size_t i = 0; i < pMap->count; ++i) {
            const MsgEntry& e = pMap->first[i];
            if (e.msg == msg && (msg != WM_COMMAND || (e.code == code && e.id == id)))
                return &e;
        }
    }
    return nullptr;
}
