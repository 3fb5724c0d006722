// How a message reaches a handler: each window class has a static table of typed entries that
// falls back to its base class's table, then to default processing (CWnd::Default).
//
//     const MsgMap* CSaverWnd::GetMessageMap() const {
//         static constexpr MsgEntry entries[] = {
//             On<WM_SETCURSOR, &CSaverWnd::OnSetCursor>(),
//             OnCommand<IDC_BUTTON, BN_CLICKED, &CSaverWnd::OnButton>(),
//         };
//         static const MsgMap map{CCountdownWnd::GetMessageMap(), entries, std::size(entries)};
//         return &map;
//     }
//
// A trait per message decodes wParam and lParam into typed arguments (as windowsx.h does) and
// states the handler's signature, so a handler of the wrong shape does not compile.
#pragma once

#include <windows.h>

#include <cstddef>
#include <iterator>

class CWnd;

struct MsgEntry {
    UINT msg;
    UINT code; // WM_COMMAND only: the notification code
    UINT id;   // WM_COMMAND only: the control or command id
    LRESULT (*call)(CWnd& wnd, WPARAM wParam, LPARAM lParam);
};

struct MsgMap {
    const MsgMap* base;
    const MsgEntry* first;
    std::size_t count;
};

// The entry for a message in a map or its bases, most derived first; null when none has one.
// For WM_COMMAND the notification code and id must match as well.
const MsgEntry* FindMsgEntry(const MsgMap* pMap, UINT msg, UINT code, UINT id);

namespace afx {

template <class F> struct MemberOf;
template <class C, class R, class... A> struct MemberOf<R (C::*)(A...)> { using type = C; };

template <UINT M> struct MsgTraits;

// int OnCreate(LPCREATESTRUCTW lpcs)
template <> struct MsgTraits<WM_CREATE> {
    template <class T> using Fn = int (T::*)(LPCREATESTRUCTW);
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM, LPARAM lp) {
        return (static_cast<T&>(w).*F)(reinterpret_cast<LPCREATESTRUCTW>(lp));
    }
};

// void OnSize(UINT nType, int cx, int cy)
template <> struct MsgTraits<WM_SIZE> {
    template <class T> using Fn = void (T::*)(UINT, int, int);
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM wp, LPARAM lp) {
        (static_cast<T&>(w).*F)(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
        return 0;
    }
};

// void OnTimer(UINT_PTR nIDEvent)
template <> struct MsgTraits<WM_TIMER> {
    template <class T> using Fn = void (T::*)(UINT_PTR);
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM wp, LPARAM) {
        (static_cast<T&>(w).*F)(static_cast<UINT_PTR>(wp));
        return 0;
    }
};

// void OnSysCommand(UINT nID, LPARAM lParam)
template <> struct MsgTraits<WM_SYSCOMMAND> {
    template <class T> using Fn = void (T::*)(UINT, LPARAM);
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM wp, LPARAM lp) {
        (static_cast<T&>(w).*F)(static_cast<UINT>(wp), lp);
        return 0;
    }
};

// BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message)
template <> struct MsgTraits<WM_SETCURSOR> {
    template <class T> using Fn = BOOL (T::*)(HWND, UINT, UINT);
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM wp, LPARAM lp) {
        return (static_cast<T&>(w).*F)(reinterpret_cast<HWND>(wp), LOWORD(lp), HIWORD(lp));
    }
};

// BOOL OnNcActivate(BOOL bActive)
template <> struct MsgTraits<WM_NCACTIVATE> {
    template <class T> using Fn = BOOL (T::*)(BOOL);
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM wp, LPARAM) {
        return (static_cast<T&>(w).*F)(static_cast<BOOL>(wp));
    }
};

// void OnActivate(UINT nState, HWND hWndOther, BOOL bMinimized)
template <> struct MsgTraits<WM_ACTIVATE> {
    template <class T> using Fn = void (T::*)(UINT, HWND, BOOL);
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM wp, LPARAM lp) {
        (static_cast<T&>(w).*F)(LOWORD(wp), reinterpret_cast<HWND>(lp), HIWORD(wp) != 0);
        return 0;
    }
};

// void OnActivateApp(BOOL bActive, DWORD dwThreadID)
template <> struct MsgTraits<WM_ACTIVATEAPP> {
    template <class T> using Fn = void (T::*)(BOOL, DWORD);
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM wp, LPARAM lp) {
        (static_cast<T&>(w).*F)(static_cast<BOOL>(wp), static_cast<DWORD>(lp));
        return 0;
    }
};

// void OnMouseMove(UINT nFlags, POINT point), the coordinates as signed 16-bit values
template <> struct MsgTraits<WM_MOUSEMOVE> {
    template <class T> using Fn = void (T::*)(UINT, POINT);
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM wp, LPARAM lp) {
        const POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        (static_cast<T&>(w).*F)(static_cast<UINT>(wp), pt);
        return 0;
    }
};

// HCURSOR OnQueryDragIcon()
template <> struct MsgTraits<WM_QUERYDRAGICON> {
    template <class T> using Fn = HCURSOR (T::*)();
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM, LPARAM) {
        return reinterpret_cast<LRESULT>((static_cast<T&>(w).*F)());
    }
};

// HBRUSH OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor)
template <> struct MsgTraits<WM_CTLCOLORSTATIC> {
    template <class T> using Fn = HBRUSH (T::*)(HDC, HWND, UINT);
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM wp, LPARAM lp) {
        return reinterpret_cast<LRESULT>(
            (static_cast<T&>(w).*F)(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), CTLCOLOR_STATIC));
    }
};

// void OnDpiChanged(UINT nDpi, const RECT* pSuggested): the window's new DPI and the rectangle
// the system suggests for it there
template <> struct MsgTraits<WM_DPICHANGED> {
    template <class T> using Fn = void (T::*)(UINT, const RECT*);
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM wp, LPARAM lp) {
        (static_cast<T&>(w).*F)(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    }
};

// void OnXxx(): messages whose parameters the handler does not look at (WM_PAINT, WM_DESTROY,
// the input messages that end the saver)
struct PlainTraits {
    template <class T> using Fn = void (T::*)();
    template <class T, Fn<T> F> static LRESULT Call(CWnd& w, WPARAM, LPARAM) {
        (static_cast<T&>(w).*F)();
        return 0;
    }
};
template <> struct MsgTraits<WM_PAINT> : PlainTraits {};
template <> struct MsgTraits<WM_DESTROY> : PlainTraits {};

} // namespace afx

template <UINT M, auto F> constexpr MsgEntry On() {
    using T = typename afx::MemberOf<decltype(F)>::type;
    return MsgEntry{M, 0, 0, &afx::MsgTraits<M>::template Call<T, F>};
}

// An entry whose handler takes no arguments, for any message.
template <UINT M, auto F> constexpr MsgEntry OnPlain() {
    using T = typename afx::MemberOf<decltype(F)>::type;
    return MsgEntry{M, 0, 0, &afx::PlainTraits::template Call<T, F>};
}

// void OnXxx(): a WM_COMMAND with this id and notification code.
template <UINT ID, UINT CODE, auto F> constexpr MsgEntry OnCommand() {
    using T = typename afx::MemberOf<decltype(F)>::type;
    return MsgEntry{WM_COMMAND, CODE, ID, &afx::PlainTraits::template Call<T, F>};
}
