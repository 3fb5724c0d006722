// The dialog driver.
#include "win/dialog_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "win/test_app.h"

const char kSettingsCaption[] = "Kestrovinの設定";
const char kAboutCaption[] = "バージョン情報(Kestrovin)";

namespace {

struct Driver {
    std::vector<DialogStep> steps;
    std::size_t next = 0;
    bool busy = false;
    int idleTicks = 0;
};
Driver* g_pDriver = nullptr;

constexpr UINT kTick = 30;
constexpr int kWatchdogTicks = 10000 / kTick;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    Driver* d = g_pDriver;
    if (!d || d->busy)
        return;
    if (d->next < d->steps.size()) {
        const HWND hDlg = FindDialog(d->steps[d->next].caption);
        if (!hDlg || !::IsWindowEnabled(hDlg))
            return;
        d->busy = true;
        d->steps[d->next].action(hDlg);
        ++d->next;
        d->busy = false;
        d->idleTicks = 0;
        return;
    }
    if (++d->idleTicks < kWatchdogTicks)
        return;
    d->idleTicks = 0;
    for (const char* caption : {kAboutCaption, kSettingsCaption})
        if (const HWND hDlg = FindDialog(caption)) {
            ADD_FAILURE() << "dialog left open: " << caption;
            ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
            return;
        }
}

} // namespace

std::size_t DriveDialogs(const std::function<void()>& run, std::vector<DialogStep> steps) {
    Driver driver;
    driver.steps = std::move(steps);
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
    char buffer[1024] = "";
    const int n = ::GetWindowTextA(hWnd, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
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
