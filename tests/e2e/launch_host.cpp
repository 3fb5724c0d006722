// Starts the real program as the screen-saver host would and checks how each start ends:
// switches that select no mode, the preview inside a window of this process, a second start
// while one runs, and the settings file beside the program.
//
//   launch_host <Kestrovin.scr>                 all checks
//   launch_host --steal-focus                   shows a window of its own and takes the focus
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int g_passed = 0;
int g_failed = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    std::fflush(stdout);
    ok ? ++g_passed : ++g_failed;
}

void Pump(DWORD ms) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount() - start < ms);
}

struct Process {
    PROCESS_INFORMATION pi{};
    bool started = false;
    ~Process() {
        if (started) {
            ::CloseHandle(pi.hThread);
            ::CloseHandle(pi.hProcess);
        }
    }
};

bool Start(Process& p, const std::string& program, const std::string& args) {
    std::string cmd = "\"" + program + "\"" + (args.empty() ? "" : " " + args);
    std::vector<char> buffer(cmd.begin(), cmd.end());
    buffer.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    p.started =
        ::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &p.pi);
    return p.started;
}

// Waits for the process while dispatching this thread's messages; false on a time-out.
bool WaitExit(Process& p, DWORD ms, DWORD* pCode) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD r = ::MsgWaitForMultipleObjects(1, &p.pi.hProcess, FALSE, 50, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) {
            ::GetExitCodeProcess(p.pi.hProcess, pCode);
            return true;
        }
        Pump(0);
        if (::GetTickCount() - start > ms)
            return false;
    }
}

std::string Folder(const std::string& path) {
    return path.substr(0, path.find_last_of("\\/") + 1);
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Kill(Process& p) {
    DWORD code = 0;
    if (p.started && ::GetExitCodeProcess(p.pi.hProcess, &code) && code == STILL_ACTIVE) {
        ::TerminateProcess(p.pi.hProcess, 99);
        ::WaitForSingleObject(p.pi.hProcess, 5000);
    }
}

// Switches that select no mode, and preview starts without a usable host, end at once, show
// nothing and write no file.
void CheckStartsThatEndAtOnce(const std::string& scr, const std::string& ini) {
    const char* const args[] = {"/x", "--s",     "/",    "-",      "\"\"",     "/a 1234",
                                "/p", "/p:1234", "/p 0", "/p abc", "/p 999999"};
    for (const char* a : args) {
        Process p;
        DWORD code = 1234;
        const bool started = Start(p, scr, a);
        const bool ended = started && WaitExit(p, 15000, &code);
        Check(ended, std::string("'") + a + "' ends by itself");
        if (ended)
            Check(code == 0, std::string("'") + a + "' ends with code 0 (got " + std::to_string(code) + ")");
        Kill(p);
        Check(!Exists(ini), std::string("'") + a + "' creates no settings file");
    }
}

// The preview fills a host window of this process and ends with code 0 when it is destroyed.
void CheckPreview(const std::string& scr) {
    const HWND hHost = ::CreateWindowExA(0, "STATIC", "preview host", WS_POPUP | WS_VISIBLE, 40, 40, 152, 112,
                                         nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    Process p;
    Check(Start(p, scr, "/p " + std::to_string(reinterpret_cast<std::uintptr_t>(hHost))), "preview starts");
    HWND hChild = nullptr;
    for (int i = 0; i < 300 && !hChild; ++i) {
        Pump(50);
        hChild = ::FindWindowExA(hHost, nullptr, nullptr, nullptr);
    }
    Check(hChild != nullptr, "the preview is a child of the host window");
    if (hChild) {
        // The child can be found while the saver process is still creating it; it is shown
        // once its creation is complete.
        for (int i = 0; i < 100 && !::IsWindowVisible(hChild); ++i)
            Pump(50);
        RECT rcChild{}, rcHost{};
        ::GetWindowRect(hChild, &rcChild);
        ::GetClientRect(hHost, &rcHost);
        ::MapWindowPoints(hHost, nullptr, reinterpret_cast<POINT*>(&rcHost), 2);
        Check(::EqualRect(&rcChild, &rcHost) != FALSE, "the preview fills the host's client area");
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hChild, &pid);
        Check(pid == p.pi.dwProcessId, "the preview belongs to the saver's process");
        Check(::IsWindowVisible(hChild) != FALSE, "the preview is visible");
    }
    Pump(1500);
    DWORD code = 0;
    Check(::WaitForSingleObject(p.pi.hProcess, 0) == WAIT_TIMEOUT,
          "the preview keeps running while the host lives");

    // A second start of any mode while the preview runs ends at once and shows nothing.
    for (const char* a : {"/s", "/c", "/p 0"}) {
        Process second;
        DWORD secondCode = 1234;
        const bool ended = Start(second, scr, a) && WaitExit(second, 15000, &secondCode);
        Check(ended, std::string("a second start '") + a + "' ends by itself");
        Kill(second);
    }
    Check(::WaitForSingleObject(p.pi.hProcess, 0) == WAIT_TIMEOUT, "the first process is undisturbed");

    ::DestroyWindow(hHost);
    const bool ended = WaitExit(p, 15000, &code);
    Check(ended, "the preview ends when the host destroys its window");
    if (ended)
        Check(code == 0, "the preview ends with code 0 (got " + std::to_string(code) + ")");
    Kill(p);
}

// Another application's window taking the focus, as a person switching programs would.
int StealFocusMain() {
    const HWND hWnd =
        ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "focus thief", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100,
                          nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SetForegroundWindow(hWnd);
    ::SetActiveWindow(hWnd);
    ::SetFocus(hWnd);
    Pump(2000);
    ::DestroyWindow(hWnd);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--steal-focus")
        return StealFocusMain();
    if (argc != 2) {
        std::fprintf(stderr, "usage: launch_host <Kestrovin.scr>\n");
        return 2;
    }
    char full[MAX_PATH];
    ::GetFullPathNameA(argv[1], sizeof full, full, nullptr);
    const std::string scr = full;
    const std::string ini = scr.substr(0, scr.rfind('.')) + ".ini";
    ::DeleteFileA(ini.c_str());

    CheckStartsThatEndAtOnce(scr, ini);
    CheckPreview(scr);
    Check(!Exists(ini), "no run of preview mode wrote the settings file");

    // The settings file of a program whose name has dots in it is its name with ".ini".
    const std::string dotted = Folder(scr) + "count.down.scr";
    ::CopyFileA(scr.c_str(), dotted.c_str(), FALSE);
    {
        Process p;
        DWORD code = 0;
        Check(Start(p, dotted, "/x") && WaitExit(p, 15000, &code),
              "a program named count.down.scr starts and ends");
        Kill(p);
        Check(!Exists(Folder(scr) + "count.down.ini") && !Exists(Folder(scr) + "count.ini"),
              "loading writes no settings file under either name");
    }
    ::DeleteFileA(dotted.c_str());

    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
