// The dialog driver.
#include "win/dialog_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "fw/afxcp.h"
#include "win/test_app.h"

const char kSettingsCaption[] = "Kestrovinの設定";
const char kAboutCaption[] = "バージョン情報(Kestrovin)";

namespace {

struct Driver {
    std::vector<DialogStep> steps;
    std::size_t next = 0;
    bool busy = false;
    bool stuck = false;
    int idleTicks = 0; // since the start or the last step carried out
    int limitTicks = 0;
};
Driver* g_pDriver = nullptr;

constexpr UINT kTick = 30;

// Cancels the enabled (topmost) dialogs of this thread; repeated each tick, it closes a stack of
// them from the top down.
BOOL CALLBACK CancelDialog(HWND hWnd, LPARAM) {
    char cls[16] = "";
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (std::string(cls) == "#32770" && ::IsWindowVisible(hWnd) && ::IsWindowEnabled(hWnd))
        ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// The watchdog covers every step: a step that cannot be carried out fails at once, by name, and
// whatever is open is cancelled so that the run returns.
void GiveUp(Driver* d, const char* why) {
    if (d->next < d->steps.size()) {
        ADD_FAILURE() << "step " << d->next + 1 << " of " << d->steps.size() << " (dialog \""
                      << d->steps[d->next].caption << "\") " << why << " after "
                      << d->limitTicks * kTick / 1000.0 << " s";
    } else {
        ADD_FAILURE() << "a dialog was left open after the last of " << d->steps.size() << " steps";
    }
    d->stuck = true;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CancelDialog, 0);
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    Driver* d = g_pDriver;
    if (!d)
        return;
    if (d->stuck) {
        ::EnumThreadWindows(::GetCurrentThreadId(), &CancelDialog, 0);
        return;
    }
    // A step that runs a modal loop of its own gets ticks from inside it.
    if (d->busy) {
        if (++d->idleTicks >= d->limitTicks)
            GiveUp(d, "is still running");
        return;
    }
    if (d->next < d->steps.size()) {
        const HWND hDlg = FindDialog(d->steps[d->next].caption);
        if (hDlg && ::IsWindowEnabled(hDlg)) {
            d->busy = true;
            d->idleTicks = 0;
            d->steps[d->next].action(hDlg);
            d->busy = false;
            if (!d->stuck)
                ++d->next;
            d->idleTicks = 0;
            return;
        }
        if (++d->idleTicks >= d->limitTicks)
            GiveUp(d, hDlg ? "waits for a dialog that stays disabled"
                           : "waits for a dialog that never appeared");
        return;
    }
    if ((FindDialog(kAboutCaption) || FindDialog(kSettingsCaption)) && ++d->idleTicks >= d->limitTicks)
        GiveUp(d, "");
}

} // namespace

std::size_t DriveDialogs(const std::function<void()>& run, std::vector<DialogStep> steps, DWORD nTimeoutMs) {
    Driver driver;
    driver.steps = std::move(steps);
    driver.limitTicks = static_cast<int>(nTimeoutMs / kTick) + 1;
    g_pDriver = &driver;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kTick, &OnTick);
    run();
    ::KillTimer(nullptr, timer);
    g_pDriver = nullptr;
    // Leftovers of the run (the quit posted by a main window's end) must not reach later tests.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    return driver.next;
}

namespace {
struct DialogSearch {
    const std::string* caption;
    HWND found;
};
BOOL CALLBACK MatchDialog(HWND hWnd, LPARAM lp) {
    auto* s = reinterpret_cast<DialogSearch*>(lp);
    char cls[16] = "";
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (std::string(cls) == "#32770" && ::IsWindowVisible(hWnd) && WindowText(hWnd) == *s->caption) {
        s->found = hWnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindDialog(const std::string& caption) {
    DialogSearch search{&caption, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowText(HWND hWnd) {
    wchar_t buffer[1024] = L"";
    ::GetWindowTextW(hWnd, buffer, 1024);
    return std::string(CW2A(buffer));
}

void Click(HWND hDlg, int nID, UINT nCode) {
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, nCode),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nID)));
}

void PressKey(UINT vk) {
    const HWND hFocus = ::GetFocus();
    ::PostMessageA(hFocus, WM_KEYDOWN, vk, 1);
    ::PostMessageA(hFocus, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
}

SYSTEMTIME PickerTime(HWND hDlg, int nID) {
    SYSTEMTIME st{};
    ::SendDlgItemMessageA(hDlg, nID, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return st;
}

void SetPickerTime(HWND hDlg, int nID, WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s) {
    SYSTEMTIME st{};
    st.wYear = y;
    st.wMonth = mo;
    st.wDay = d;
    st.wHour = h;
    st.wMinute = mi;
    st.wSecond = s;
    ::SendDlgItemMessageA(hDlg, nID, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

std::string Format(const SYSTEMTIME& st) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02u %02u:%02u:%02u", st.wYear, st.wMonth, st.wDay,
                  st.wHour, st.wMinute, st.wSecond);
    return buffer;
}
