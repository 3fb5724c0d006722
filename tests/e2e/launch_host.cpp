// Starts the real program as the screen-saver host would and checks how each start ends:
// switches that select no mode, the preview inside a window of this process, and a second start
// while one runs. Also the shell tests' hands and eyes inside another program's dialog, where X
// sees only the top-level window.
//
//   launch_host <Kestrovin.scr>                 all checks
//   launch_host --preview <Kestrovin.scr>       the preview alone
//   launch_host --steal-focus                   shows a window of its own and takes the focus
//   launch_host --focus <control id>            gives that control of a shown dialog the focus
//   launch_host --wait-focus <control id>       waits until that control has the focus
//   launch_host --text                          prints the focused control's text in UTF-8
//   launch_host --text-of <control id>          prints that control's text in UTF-8
//   launch_host --template-texts <scr> <dialog> checks the shown dialog's texts against the
//                                               template in the program's resources
//   launch_host --code-page                     prints the ANSI code page it runs at
//   launch_host --monitors                      prints each monitor as "left top right bottom",
//                                               the primary first
// "The focus" is where typed keys go. --focus and --wait-focus wait up to 10 s and exit 1 when
// the dialog or the focus never comes.
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
// A refused second start ends as an ordinary start does, with code 0; a crash would not.
void CheckPreview(const std::string& scr, bool secondStarts) {
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
    for (const char* a :
         secondStarts ? std::vector<const char*>{"/s", "/c", "/p 0"} : std::vector<const char*>{}) {
        Process second;
        DWORD secondCode = 1234;
        const bool ended = Start(second, scr, a) && WaitExit(second, 15000, &secondCode);
        Check(ended && secondCode == 0, std::string("a second start '") + a +
                                            "' ends by itself with code 0 (got " +
                                            std::to_string(secondCode) + ")");
        Kill(second);
    }
    if (secondStarts)
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

// Polls a condition every 50 ms for up to ms milliseconds.
template <class Condition> bool WaitFor(DWORD ms, Condition condition) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start > ms)
            return false;
        ::Sleep(50);
    }
}

struct ControlSearch {
    int nID;
    HWND hCtrl;
};

BOOL CALLBACK SearchDialog(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<ControlSearch*>(lParam);
    char className[16] = "";
    ::GetClassNameA(hWnd, className, sizeof className);
    if (::IsWindowVisible(hWnd) && std::string(className) == "#32770")
        search->hCtrl = ::GetDlgItem(hWnd, search->nID);
    return search->hCtrl == nullptr;
}

// The control with this id in the first shown dialog (of any process) that has one.
HWND FindControl(int nID) {
    ControlSearch search{nID, nullptr};
    ::EnumWindows(&SearchDialog, reinterpret_cast<LPARAM>(&search));
    return search.hCtrl;
}

// The window that takes typed keys: the focus of the foreground window's thread.
HWND KeyboardFocus() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(0, &info) ? info.hwndFocus : nullptr;
}

// --focus and --wait-focus: the dialog's own thread moves the focus (WM_NEXTDLGCTL, as Tab
// does), so no input state is shared across processes; done once typed keys would reach it.
int FocusMain(bool bMove, int nID) {
    HWND hCtrl = nullptr;
    if (!WaitFor(10000, [&] { return (hCtrl = FindControl(nID)) != nullptr; })) {
        std::fprintf(stderr, "launch_host: no shown dialog has a control %d\n", nID);
        return 1;
    }
    if (bMove) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(::GetParent(hCtrl), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hCtrl), TRUE,
                              SMTO_ABORTIFHUNG, 5000, &result);
    }
    if (WaitFor(10000, [&] { return KeyboardFocus() == hCtrl; }))
        return 0;
    std::fprintf(stderr, "launch_host: control %d never got the keyboard focus\n", nID);
    return 1;
}

// Another process's control gives its text only to the message; GetWindowText reads its
// caption. The W message: the text as the control holds it, whatever the code page.
std::wstring WideText(HWND hWnd) {
    wchar_t text[1024] = L"";
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(hWnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                          &result);
    return text;
}

std::string Utf8(const std::wstring& text) {
    char utf8[4096] = "";
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
    return std::string(utf8, n > 0 ? static_cast<std::size_t>(n - 1) : 0);
}

// --text and --text-of: the text of the window with the keyboard focus, or of the control with
// that id in a shown dialog, in UTF-8; exit 1 when there is none.
int TextMain(HWND hWnd) {
    if (!hWnd)
        return 1;
    std::fputs(Utf8(WideText(hWnd)).c_str(), stdout);
    return 0;
}

// Reads a name or ordinal of a dialog template; an ordinal gives the empty text.
std::wstring TemplateText(const WORD*& p) {
    std::wstring text;
    if (*p == 0xFFFF) {
        p += 2;
        return text;
    }
    while (*p)
        text += static_cast<wchar_t>(*p++);
    ++p;
    return text;
}

struct ChildSearch {
    WORD nID;
    std::wstring text;
    bool found;
};

BOOL CALLBACK SearchChild(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<ChildSearch*>(lParam);
    if (static_cast<WORD>(::GetDlgCtrlID(hWnd)) == search->nID && WideText(hWnd) == search->text)
        search->found = true;
    return !search->found;
}

// --template-texts: the shown dialog whose caption is the template's shows every text of the
// template's buttons and labels on a control of the same id, read through WM_GETTEXT.
int TemplateTextsMain(const char* pszProgram, int nDialog) {
    const HMODULE hProgram = ::LoadLibraryExA(pszProgram, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC hRes =
        hProgram ? ::FindResourceW(hProgram, MAKEINTRESOURCEW(nDialog), MAKEINTRESOURCEW(5)) : nullptr;
    const auto* pTemplate =
        hRes ? static_cast<const DLGTEMPLATE*>(::LockResource(::LoadResource(hProgram, hRes))) : nullptr;
    if (!pTemplate || reinterpret_cast<const WORD*>(pTemplate)[1] == 0xFFFF) {
        std::fprintf(stderr, "launch_host: no plain dialog template %d in %s\n", nDialog, pszProgram);
        return 1;
    }
    const WORD* p = reinterpret_cast<const WORD*>(pTemplate + 1);
    TemplateText(p); // menu
    TemplateText(p); // class
    const std::wstring caption = TemplateText(p);
    if (pTemplate->style & DS_SETFONT) {
        ++p;
        TemplateText(p);
    }
    HWND hDlg = nullptr;
    WaitFor(10000, [&] {
        hDlg = ::FindWindowW(L"#32770", caption.c_str());
        return hDlg && ::IsWindowVisible(hDlg);
    });
    if (!hDlg) {
        std::fprintf(stderr, "launch_host: no shown dialog is captioned %s\n", Utf8(caption).c_str());
        return 1;
    }
    int missing = 0, checked = 0;
    for (WORD i = 0; i < pTemplate->cdit; ++i) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<std::uintptr_t>(p) + 3) & ~std::uintptr_t{3});
        const auto* pItem = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
        p = reinterpret_cast<const WORD*>(pItem + 1);
        const bool bButtonOrLabel = p[0] == 0xFFFF && (p[1] == 0x80 || p[1] == 0x82);
        TemplateText(p);
        ChildSearch search{pItem->id, TemplateText(p), false};
        p += 1 + (*p + 1) / 2;
        if (!bButtonOrLabel || search.text.empty())
            continue;
        ++checked;
        ::EnumChildWindows(hDlg, &SearchChild, reinterpret_cast<LPARAM>(&search));
        if (!search.found) {
            std::printf("launch_host: no control %u shows \"%s\"\n", pItem->id, Utf8(search.text).c_str());
            ++missing;
        }
    }
    std::printf("launch_host: %d of %d texts of the template shown\n", checked - missing, checked);
    return missing == 0 && checked > 0 ? 0 : 1;
}

// --monitors: what the monitor functions report, the arrangement the saver covers.
BOOL CALLBACK AddMonitor(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(hMonitor, &info)) {
        auto& lines = *reinterpret_cast<std::vector<std::string>*>(lParam);
        const RECT& rc = info.rcMonitor;
        const std::string line = std::to_string(rc.left) + " " + std::to_string(rc.top) + " " +
                                 std::to_string(rc.right) + " " + std::to_string(rc.bottom);
        lines.insert(info.dwFlags & MONITORINFOF_PRIMARY ? lines.begin() : lines.end(), line);
    }
    return TRUE;
}

int MonitorsMain() {
    std::vector<std::string> lines;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&lines));
    for (const std::string& line : lines)
        std::printf("%s\n", line.c_str());
    return lines.empty() ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 2 && mode == "--steal-focus")
        return StealFocusMain();
    if (argc == 3 && (mode == "--focus" || mode == "--wait-focus"))
        return FocusMain(mode == "--focus", std::atoi(argv[2]));
    if (argc == 2 && mode == "--text")
        return TextMain(KeyboardFocus());
    if (argc == 3 && mode == "--text-of") {
        HWND hCtrl = nullptr;
        WaitFor(10000, [&] { return (hCtrl = FindControl(std::atoi(argv[2]))) != nullptr; });
        return TextMain(hCtrl);
    }
    if (argc == 4 && mode == "--template-texts")
        return TemplateTextsMain(argv[2], std::atoi(argv[3]));
    if (argc == 2 && mode == "--monitors")
        return MonitorsMain();
    if (argc == 2 && mode == "--code-page")
        return std::printf("%u", ::GetACP()) > 0 ? 0 : 1;
    const bool previewOnly = argc == 3 && mode == "--preview";
    if (argc != 2 && !previewOnly) {
        std::fprintf(stderr, "usage: launch_host [--preview] <Kestrovin.scr>\n"
                             "       launch_host --focus|--wait-focus <control id>\n"
                             "       launch_host --text | --text-of <control id> | --code-page\n"
                             "       launch_host --template-texts <Kestrovin.scr> <dialog id>\n");
        return 2;
    }
    char full[MAX_PATH];
    ::GetFullPathNameA(argv[argc - 1], sizeof full, full, nullptr);
    const std::string scr = full;
    const std::string ini = scr.substr(0, scr.rfind('.')) + ".ini";
    ::DeleteFileA(ini.c_str());

    if (!previewOnly)
        CheckStartsThatEndAtOnce(scr, ini);
    CheckPreview(scr, !previewOnly);
    Check(!Exists(ini), "no run of preview mode wrote the settings file");

    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
