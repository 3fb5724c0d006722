// Benchmark, not a test: DrawFrame per frame against one whole-buffer BitBlt of the same size;
// and, for run_bench.sh to measure from outside Wine, the running saver for some seconds, first
// the product, then the same saver made to draw on every tick. Prints figures; asserts nothing.
//
//   bench_frame                        frame timings
//   bench_frame --cpu Kestrovin.scr    the two savers, one after the other, between marker lines
//   bench_frame --every-tick Kestrovin.scr
//                                      the saver that draws on every tick, with the settings
//                                      of Kestrovin.scr; runs until it is ended
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

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

// The product's saver, except that each tick forgets what was drawn, so that every tick draws
// and copies the whole screen again: the cost of the frame before ticks were compared.
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

// Keeps a saver running between two marker lines; run_bench.sh reads its CPU time and the X
// server's from outside Wine across them, since GetProcessTimes of another process reads 0
// there.
void MeasureSaver(const char* label, std::string cmd) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("saver: could not start %s\n", cmd.c_str());
        return;
    }
    ::Sleep(2000);
    std::printf("saver: measuring %s for 15 s\n", label);
    ::Sleep(15000);
    std::printf("saver: measured %s at %dx%d\n", label, ::GetSystemMetrics(SM_CXSCREEN),
                ::GetSystemMetrics(SM_CYSCREEN));
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
        MeasureSaver("product", std::string("\"") + argv[2] + "\" /s");
        MeasureSaver("every tick", std::string("\"") + self + "\" --every-tick \"" + argv[2] + "\"");
        return 0;
    }
    g_app.LoadSettings();
    BenchSize(800, 600);
    BenchSize(1920, 1080);
    BenchSize(3840, 2160);
    return 0;
}
