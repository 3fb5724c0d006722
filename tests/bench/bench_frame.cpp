// Benchmark, not a test: DrawFrame per frame against one whole-buffer BitBlt of the same size,
// and the running saver's CPU time over 10 s. Prints figures; asserts nothing.
//
//   bench_frame [Kestrovin.scr]
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/countdown_app.h"
#include "display/countdown_wnd.h"

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

void BenchSaverCpu(const char* scr) {
    std::string cmd = std::string("\"") + scr + "\" /s";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("saver: could not start %s\n", scr);
        return;
    }
    ::Sleep(2000);
    FILETIME c, e, k0, u0, k1, u1;
    ::GetProcessTimes(pi.hProcess, &c, &e, &k0, &u0);
    const double t0 = Now();
    ::Sleep(10000);
    ::GetProcessTimes(pi.hProcess, &c, &e, &k1, &u1);
    const double wall = Now() - t0;
    auto ticks = [](FILETIME f) { return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    const double cpu = static_cast<double>(ticks(k1) - ticks(k0) + ticks(u1) - ticks(u0)) / 1e7;
    std::printf("saver at %dx%d: %.3f s CPU over %.1f s, %.2f%% of one core\n", ::GetSystemMetrics(SM_CXSCREEN),
                ::GetSystemMetrics(SM_CYSCREEN), cpu, wall, 100.0 * cpu / wall);
    ::TerminateProcess(pi.hProcess, 0);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

} // namespace

int main(int argc, char** argv) {
    g_app.InitApplication(::GetModuleHandleA(nullptr), argc, argv);
    g_app.LoadSettings();
    BenchSize(800, 600);
    BenchSize(1920, 1080);
    BenchSize(3840, 2160);
    if (argc > 1)
        BenchSaverCpu(argv[1]);
    return 0;
}
