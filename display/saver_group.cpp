// CSaverGroup: one saver window per monitor, kept in line with the monitors, and the saver's end.
#include "display/saver_group.h"

#include <algorithm>

#include "display/saver_wnd.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(hMonitor, &info))
        return TRUE;
    auto& monitors = *reinterpret_cast<std::vector<RECT>*>(lParam);
    // The primary goes first: its window is the one kept through every change of arrangement.
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        monitors.insert(monitors.begin(), info.rcMonitor);
    else
        monitors.push_back(info.rcMonitor);
    return TRUE;
}

} // namespace

CSaverGroup::CSaverGroup(const FrameSettings& settings) : m_settings(settings) {}

CSaverGroup::~CSaverGroup() {
    m_bEnding = true;
    const std::vector<CSaverWnd*> windows = m_windows;
    for (CSaverWnd* pWnd : windows)
        pWnd->DestroyWindow();
}

CSaverWnd* CSaverGroup::NewWindow() {
    return new CSaverWnd(*this);
}

std::vector<RECT> CSaverGroup::EnumMonitors() {
    std::vector<RECT> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    // Without monitor information, the primary screen as the system metrics give it.
    if (monitors.empty())
        monitors.push_back(RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    return monitors;
}

BOOL CSaverGroup::Start() {
    Cover(EnumMonitors());
    return m_windows.empty() ? FALSE : TRUE;
}

void CSaverGroup::Cover(const std::vector<RECT>& monitors) {
    if (m_bEnding)
        return;
    m_bCovering = true;
    m_ptFirstMouse.reset();
    // Windows that no monitor needs any longer go first; activation must not leave the saver
    // with them, or another program would take it and end the saver.
    if (m_windows.size() > monitors.size()) {
        if (monitors.size() > 0)
            ::SetActiveWindow(m_windows.front()->m_hWnd);
        const std::vector<CSaverWnd*> extra(m_windows.begin() + static_cast<std::ptrdiff_t>(monitors.size()),
                                            m_windows.end());
        for (CSaverWnd* pWnd : extra)
            pWnd->DestroyWindow();
    }
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const RECT& rc = monitors[i];
        if (i < m_windows.size()) {
            ::SetWindowPos(m_windows[i]->m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left,
                           rc.bottom - rc.top, SWP_NOACTIVATE);
            continue;
        }
        CSaverWnd* pWnd = NewWindow();
        pWnd->SetSettings(m_settings);
        // Known to the group before it exists: showing it moves activation away from its siblings.
        m_windows.push_back(pWnd);
        if (!pWnd->Create(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, rc, nullptr)) {
            m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), pWnd), m_windows.end());
            delete pWnd;
        }
    }
    m_bCovering = false;
}

bool CSaverGroup::PointerMoved(POINT ptScreen) {
    if (!m_ptFirstMouse) {
        m_ptFirstMouse = ptScreen;
        return false;
    }
    return ptScreen.x != m_ptFirstMouse->x || ptScreen.y != m_ptFirstMouse->y;
}

bool CSaverGroup::Owns(HWND hWnd) const {
    return hWnd && std::any_of(m_windows.begin(), m_windows.end(),
                               [hWnd](const CSaverWnd* pWnd) { return pWnd->m_hWnd == hWnd; });
}

void CSaverGroup::End() {
    if (m_bEnding)
        return;
    m_bEnding = true;
    const std::vector<CSaverWnd*> windows = m_windows;
    for (CSaverWnd* pWnd : windows)
        pWnd->DestroyWindow();
    ::PostQuitMessage(0);
}

void CSaverGroup::OnWindowDestroyed(const CSaverWnd* pWnd) {
    m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), pWnd), m_windows.end());
    // A window taken down from outside leaves its monitor uncovered: the saver ends whole.
    if (!m_bCovering)
        End();
}
