// Drives modal dialogs from inside their own modal loops, as a person at the dialog would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct DialogStep {
    std::string caption;              // the dialog this step acts on (code page 932)
    std::function<void(HWND)> action; // runs once that dialog is visible and enabled
};

// Calls run (which runs one or more modal dialogs) and carries out the steps in order, each as
// soon as its dialog is up. A step whose dialog is not up and enabled within the timeout, or a
// dialog still open that long after the last step, fails the test at once and every open dialog
// is cancelled, so a fault fails the test instead of hanging it. Returns the number of steps
// carried out.
std::size_t DriveDialogs(const std::function<void()>& run, std::vector<DialogStep> steps,
                         DWORD nTimeoutMs = 10000);

// The visible top-level dialog of this thread with that caption, or null.
HWND FindDialog(const std::string& caption);

// The window's text in code page 932, read through the W function.
std::string WindowText(HWND hWnd);
// A click on a button or a link: the notification its parent gets.
void Click(HWND hDlg, int nID, UINT nCode = BN_CLICKED);
// A key pressed on the window with the focus. It is posted: the step must return so that the
// dialog's own loop (not a test pump) handles it, as it would a real key.
void PressKey(UINT vk);

SYSTEMTIME PickerTime(HWND hDlg, int nID);
void SetPickerTime(HWND hDlg, int nID, WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s);
std::string Format(const SYSTEMTIME& st);

extern const char kSettingsCaption[];
extern const char kAboutCaption[];
