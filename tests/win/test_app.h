// The test process's application object and helpers shared by the in-process tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/countdown_app.h"

class CTestApp : public CCountdownApp {
public:
    BOOL WinHelp(DWORD_PTR dwData, UINT nCmd) override;
    // Every help request, and whether the viewer "starts".
    std::vector<DWORD_PTR> m_helpRequests;
    BOOL m_bHelpStarts = TRUE;

    // Application message boxes are recorded and answered with IDOK instead of shown.
    int DoMessageBox(const char* pszText, UINT nType) override;
    struct Message {
        std::string text;
        UINT type;
    };
    std::vector<Message> m_messages;
};

CTestApp& TestApp();

// Pins the clock that frames and settings read to one moment, for as long as it lives.
class CPinnedClock {
public:
    explicit CPinnedClock(CTime time);
    ~CPinnedClock();
    CPinnedClock(const CPinnedClock&) = delete;
    CPinnedClock& operator=(const CPinnedClock&) = delete;

private:
    CTime::TimeFn m_pfnSaved;
};

// Points the application at a settings file; an empty path means none.
void SetProfilePath(const std::string& path);

// A fresh folder under the temporary directory, removed with everything in it at the end.
class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    const std::string& Path() const { return m_path; }
    std::string File(const char* name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Dispatches queued messages for about the given time.
void PumpMessages(DWORD milliseconds);
// Dispatches until the predicate holds or the time runs out; returns the predicate's value.
template <class Pred> bool PumpUntil(Pred pred, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (!pred()) {
        if (::GetTickCount() - start > milliseconds)
            return pred();
        PumpMessages(10);
    }
    return true;
}
