// Benchmark, not a test: DrawFrame per frame against one whole-buffer BitBlt of the same size,
// and ten seconds of the running saver for run_bench.sh to measure. Prints figures; asserts
// nothing.
//
//   bench_frame [Kestrovin.scr]
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/countdown_app.h"
#include "display/countdown_wnd.h"
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

// Keeps the saver running for ten seconds between two marker lines; run_bench.sh reads its CPU
// time from outside Wine across them, since GetProcessTimes of another process reads 0 there.
void RunSaverForCpu(const char* scr) {
    std::string cmd = std::string("\"") + scr + "\" /s";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("saver: could not start %s\n", scr);
        return;
    }
    ::Sleep(2000);
    std::printf("saver: measuring for 10 s\n");
    ::Sleep(10000);
    std::printf("saver: measured at %dx%d\n", ::GetSystemMetrics(SM_CXSCREEN),
                ::GetSystemMetrics(SM_CYSCREEN));
    ::TerminateProcess(pi.hProcess, 0);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

} // namespace

int main(int argc, char** argv) {
    // Unbuffered, so that the marker lines reach run_bench.sh when they are printed.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    g_app.InitApplication(::GetModuleHandleA(nullptr), argc, argv);
    g_app.LoadSettings();
    BenchSize(800, 600);
    BenchSize(1920, 1080);
    BenchSize(3840, 2160);
    if (argc > 1)
        RunSaverForCpu(argv[1]);
    return 0;
}
