// Benchmark, not a test: DrawFrame per frame against one whole-buffer BitBlt of the same size;
// and, for run_bench.sh to measure from outside Wine, the running saver for some seconds, first
// the product, then a saver that draws every monitor whole on every tick. Prints figures;
// asserts nothing.
//
//   bench_frame                        frame timings
//   bench_frame --cpu Kestrovin.scr [product seconds [every-tick seconds]]
//                                      the two savers, one after the other, between marker lines
//   bench_frame --every-tick Kestrovin.scr
//                                      the saver that draws on every tick, with the settings
//                                      of Kestrovin.scr; runs until it is ended
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/countdown_app.h"
#include "display/countdown_wnd.h"
#include "display/saver_group.h"
#include "display/saver_wnd.h"
#include "tests/win/gdi_probe.h"

namespace {

CCountdownApp g_app;

double Now() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

void BenchSize(int cx, int cy) {
    CCountdownWnd wnd(FALSE);
    const RECT rect{0, 0, cx, cy};
    if (!wnd.Create(0, WS_POPUP, rect, nullptr)) {
        std::printf("%dx%d: window not created\n", cx, cy);
        return;
    }
    const HDC hScreen = ::GetDC(nullptr);
    const HDC hTarget = ::CreateCompatibleDC(hScreen);
    const HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, cx, cy);
    const HGDIOBJ hOld = ::SelectObject(hTarget, hBitmap);
    CDCHandle target(hTarget);
    const int frames = 200;
    for (int i = 0; i < 10; ++i)
        wnd.DrawFrame(&target);
    double t0 = Now();
    for (int i = 0; i < frames; ++i)
        wnd.DrawFrame(&target);
    ::GdiFlush();
    const double frame = (Now() - t0) / frames;
    t0 = Now();
    for (int i = 0; i < frames; ++i)
        ::BitBlt(hTarget, 0, 0, cx, cy, wnd.GetBufferDC(), 0, 0, SRCCOPY);
    ::GdiFlush();
    const double blit = (Now() - t0) / frames;
    std::printf("%dx%d: frame %.3f ms, blit %.3f ms, frame/blit %.2f\n", cx, cy, frame * 1e3, blit * 1e3,
                frame / blit);
    ::SelectObject(hTarget, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hTarget);
    ::ReleaseDC(nullptr, hScreen);
    wnd.DestroyWindow();
}

// The product's saver window, except that each tick forgets what was drawn, so that every tick
// draws and copies the whole monitor again: the cost of the frame before ticks were compared.
class CEveryTickSaverWnd : public CSaverWnd {
public:
    using CSaverWnd::CSaverWnd;
    const MsgMap* GetMessageMap() const override {
        static constexpr MsgEntry entries[] = {On<WM_TIMER, &CEveryTickSaverWnd::OnTimerEveryTick>()};
        static const MsgMap map{CSaverWnd::GetMessageMap(), entries, std::size(entries)};
        return &map;
    }

private:
    void OnTimerEveryTick(UINT_PTR nIDEvent) {
        m_lastDrawn.reset();
        OnTimer(nIDEvent);
    }
};

std::vector<RECT> Monitors() {
    std::vector<RECT> monitors;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam) -> BOOL {
            MONITORINFO mi{};
            mi.cbSize = sizeof mi;
            if (::GetMonitorInfoW(hMonitor, &mi))
                reinterpret_cast<std::vector<RECT>*>(lParam)->push_back(mi.rcMonitor);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

// The monitors, as "3840x2160 at 0,0 + 1920x1080 at 3840,0".
std::string Arrangement() {
    std::string text;
    for (const RECT& rc : Monitors()) {
        char part[96];
        std::snprintf(part, sizeof part, "%s%ldx%ld at %ld,%ld", text.empty() ? "" : " + ",
                      rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
        text += part;
    }
    return text;
}

// Every monitor covered by savers that draw on every tick.
class CEveryTickSaverGroup : public CSaverGroup {
public:
    using CSaverGroup::CSaverGroup;

protected:
    CSaverWnd* NewWindow() override { return new CEveryTickSaverWnd(*this); }
};

int RunEveryTickSaver(const char* scr) {
    // The settings file of the product, so that both savers show the same texts.
    g_app.SetModulePath(AfxToWide(scr).c_str());
    g_app.FixProfilePath();
    g_app.LoadSettings();
    CEveryTickSaverGroup group(g_app.Settings());
    if (!group.Start())
        return 1;
    return g_app.Run();
}

// How many monitors the visible windows of a process cover whole.
int MonitorsCovered(DWORD dwProcessId) {
    struct Search {
        DWORD dwProcessId;
        std::vector<RECT> windows;
    } search{dwProcessId, {}};
    ::EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* pSearch = reinterpret_cast<Search*>(lParam);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hWnd, &pid);
            RECT rc{};
            if (pid == pSearch->dwProcessId && ::IsWindowVisible(hWnd) && ::GetWindowRect(hWnd, &rc))
                pSearch->windows.push_back(rc);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    int covered = 0;
    for (const RECT& monitor : Monitors()) {
        for (const RECT& rc : search.windows) {
            if (rc.left <= monitor.left && rc.top <= monitor.top && rc.right >= monitor.right &&
                rc.bottom >= monitor.bottom) {
                ++covered;
                break;
            }
        }
    }
    return covered;
}

// Keeps a saver running between two marker lines; run_bench.sh reads its CPU time and the X
// server's from outside Wine across them, since GetProcessTimes of another process reads 0
// there.
void MeasureSaver(const char* label, std::string cmd, int seconds) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("saver: could not start %s\n", cmd.c_str());
        return;
    }
    ::Sleep(2000);
    // A figure of a saver that leaves a monitor uncovered compares nothing.
    std::printf("saver (%s) covers %d of %d monitors\n", label, MonitorsCovered(pi.dwProcessId),
                static_cast<int>(Monitors().size()));
    std::printf("saver: measuring %s for %d s\n", label, seconds);
    ::Sleep(static_cast<DWORD>(seconds) * 1000);
    std::printf("saver: measured %s on %s\n", label, Arrangement().c_str());
    // run_bench.sh reads the process's memory after that line; an ended process has none.
    ::Sleep(1000);
    ::TerminateProcess(pi.hProcess, 0);
    ::WaitForSingleObject(pi.hProcess, 5000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

} // namespace

int main(int argc, char** argv) {
    // Unbuffered, so that the marker lines reach run_bench.sh when they are printed.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    g_app.InitApplication(::GetModuleHandleA(nullptr), argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--every-tick") == 0)
        return RunEveryTickSaver(argv[2]);
    if (argc > 2 && std::strcmp(argv[1], "--cpu") == 0) {
        char self[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, self, sizeof self);
        const int productSeconds = argc > 3 ? std::atoi(argv[3]) : 15;
        const int everyTickSeconds = argc > 4 ? std::atoi(argv[4]) : 15;
        MeasureSaver("product", std::string("\"") + argv[2] + "\" /s", productSeconds);
        MeasureSaver("every tick", std::string("\"") + self + "\" --every-tick \"" + argv[2] + "\"",
                     everyTickSeconds);
        return 0;
    }
    g_app.LoadSettings();
    BenchSize(800, 600);
    BenchSize(1920, 1080);
    BenchSize(3840, 2160);
    return 0;
}
