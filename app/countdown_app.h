// CCountdownApp: the application object. It keeps one process of the program running, fixes
// the settings path beside the program, holds the settings record and starts the chosen mode.
#pragma once

#include <windows.h>

#include <memory>

#include "display/frame_content.h"
#include "fw/afxapp.h"
#include "fw/afxstr.h"
#include "fw/afxtime.h"

extern const wchar_t* const kMutexName;

class CSaverGroup;

class CCountdownApp : public CWinApp {
public:
    CCountdownApp();
    ~CCountdownApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // The settings record from the settings file, with defaults for whatever it lacks.
    void LoadSettings();
    // Writes the four keys; false when the file could not be written (it then holds the old ones).
    bool SaveSettings();
    // The settings record as the display windows take it.
    FrameSettings Settings() const;
    // Settings mode: reloads the settings, runs the dialog, stores and saves on OK.
    void RunSettingsDialog();

    // The launch steps, each returning what InitInstance returns for its mode. The settings
    // path lies beside m_strModulePath.
    bool FixProfilePath();
    BOOL StartPreview(const char* pszHostHandle);
    BOOL StartSaver();

    HANDLE m_hMutex = nullptr;
    CTime m_timeFrom;
    CTime m_timeTo;
    CString m_strTitle;
    CString m_strSubject;
    // Saver mode's windows, one a monitor; they end the message loop themselves.
    std::unique_ptr<CSaverGroup> m_pSaver;
};

// The one application object, as the display and the dialogs reach it.
CCountdownApp* GetCountdownApp();
