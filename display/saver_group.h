// CSaverGroup: saver mode over every monitor. One topmost saver window per monitor, each laid out
// for its own monitor's size in physical pixels, all drawing the same settings. The group is the
// one owner of the saver's end: it takes every window down and ends the message loop once.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "display/frame_content.h"

class CSaverWnd;

class CSaverGroup {
public:
    explicit CSaverGroup(const FrameSettings& settings);
    // Takes down any window still there, without ending the message loop.
    virtual ~CSaverGroup();
    CSaverGroup(const CSaverGroup&) = delete;
    CSaverGroup& operator=(const CSaverGroup&) = delete;

    // Covers every monitor; FALSE when not a single window could be made.
    BOOL Start();
    // The monitors' rectangles in virtual-screen pixels, the primary first.
    static std::vector<RECT> EnumMonitors();
    // Window i covers monitors[i]: windows are moved, made or taken down to match, and the
    // pointer's resting place is taken anew, since a new arrangement may move the pointer.
    void Cover(const std::vector<RECT>& monitors);

    // Called by a window whose pointer moved, in screen coordinates: the first report only
    // records where the pointer rests; true when it has moved since.
    bool PointerMoved(POINT ptScreen);
    bool Owns(HWND hWnd) const;
    // Takes every window down and ends the message loop; later calls do nothing.
    void End();
    // Called by a window as it is destroyed.
    void OnWindowDestroyed(const CSaverWnd* pWnd);

    const std::vector<CSaverWnd*>& Windows() const { return m_windows; }

protected:
    // A new window of the group, not yet created; tests count their destruction.
    virtual CSaverWnd* NewWindow();

    // Where the pointer rests, in screen coordinates; none before the first report. Every value
    // is a real position: monitors left of or above the primary have negative coordinates.
    std::optional<POINT> m_ptFirstMouse;

private:
    FrameSettings m_settings;
    std::vector<CSaverWnd*> m_windows; // in the order of the monitors they cover
    bool m_bCovering = false;
    bool m_bEnding = false;
};
