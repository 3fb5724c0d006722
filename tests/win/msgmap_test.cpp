// Message map lookup without a window: most derived first, then the bases.
#include <gtest/gtest.h>

#include "fw/afxmsg.h"

namespace {

LRESULT Base(CWnd&, WPARAM, LPARAM) {
    return 1;
}
LRESULT Derived(CWnd&, WPARAM, LPARAM) {
    return 2;
}

const MsgEntry kBaseEntries[] = {{WM_SIZE, 0, 0, &Base}, {WM_TIMER, 0, 0, &Base}, {WM_COMMAND, 0, 7, &Base}};
const MsgMap kBaseMap{nullptr, kBaseEntries, 3};
const MsgEntry kDerivedEntries[] = {{WM_TIMER, 0, 0, &Derived}, {WM_COMMAND, BN_CLICKED, 1014, &Derived}};
const MsgMap kDerivedMap{&kBaseMap, kDerivedEntries, 2};

TEST(MsgMapTest, DerivedEntriesWinAndMissesFallBack) {
    const struct {
        UINT msg, code, id;
        LRESULT (*expected)(CWnd&, WPARAM, LPARAM);
    } cases[] = {
        {WM_TIMER, 0, 0, &Derived},
        {WM_SIZE, 0, 0, &Base},
        {WM_PAINT, 0, 0, nullptr},
        {WM_COMMAND, BN_CLICKED, 1014, &Derived},
        {WM_COMMAND, BN_DOUBLECLICKED, 1014, nullptr},
        {WM_COMMAND, BN_CLICKED, 1015, nullptr},
        {WM_COMMAND, 0, 7, &Base},
    };
    for (const auto& c : cases) {
        const MsgEntry* e = FindMsgEntry(&kDerivedMap, c.msg, c.code, c.id);
        EXPECT_EQ(e ? e->call : nullptr, c.expected) << c.msg << " " << c.code << " " << c.id;
    }
    EXPECT_EQ(FindMsgEntry(nullptr, WM_SIZE, 0, 0), nullptr);
    EXPECT_EQ(FindMsgEntry(&kBaseMap, WM_TIMER, 0, 0)->call, &Base);
}

} // namespace
