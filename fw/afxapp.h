// CWinApp: the one application object, its start and exit sequence, main window, message loop,
// profile access and application-level message box.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "fw/afxstr.h"

class CWnd;

// The framework's help command.
constexpr UINT ID_HELP = 57670;
// Help topics of dialogs: this base plus the dialog's template number.
constexpr DWORD HID_BASE_RESOURCE = 0x20000;

class CWinApp {
public:
    explicit CWinApp(const char* pszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    // Three-dimensional dialog controls are the system's own look since Windows 4.0.
    BOOL Enable3dControls() { return TRUE; }
    // The process exit status: the quit code after a message loop, else 0.
    virtual int ExitInstance();
    // The message loop; returns the quit code.
    virtual int Run();

    // The application's command map; TRUE when the command was handled.
    virtual BOOL OnCmdMsg(UINT nID);
    // Called when the user presses F1: asks the help viewer for the active dialog's topic.
    void OnHelp();
    // Starts the help viewer on the program's .HLP file; FALSE when it cannot be started.
    virtual BOOL WinHelp(DWORD_PTR dwData, UINT nCmd);
    // The template number of the dialog that is active now, 0 when none; set by CDialog.
    UINT m_nActiveDialogTemplate = 0;

    // Profile access through m_strProfilePath, a file the program reads and writes itself by the
    // rules of fw/afxini.h; no path means nothing is read or written. Values are read as at most
    // 4095 bytes, cut at a character boundary.
    CString GetProfileString(const char* pszSection, const char* pszEntry, const char* pszDefault) const;
    struct CProfileEntry {
        const char* pszEntry;
        const char* pszValue;
    };
    // Sets the keys of one section in one step: the new file replaces the old whole, or, where
    // that is refused, is written over it. FALSE when the file could not be written; it then
    // holds what it held.
    BOOL WriteProfileStrings(const char* pszSection, std::initializer_list<CProfileEntry> entries) const;

    // An OK box gets the exclamation icon; the caption is the application name.
    virtual int DoMessageBox(const char* pszText, UINT nType);

    // Fills what the start sequence gives the application: instance, arguments, the module path
    // and what follows from it, and the default profile name. Called by AfxWinMain, and by tests.
    void InitApplication(HINSTANCE hInstance, int argc, char** argv);
    // Takes the program's path in its long form, whichever form Windows started it by (at idle,
    // by its 8.3 path), and the application name (unless one was given) and help path from it.
    void SetModulePath(const wchar_t* pszModulePath);

    HINSTANCE m_hInstance = nullptr;
    int m_argc = 0;
    char** m_argv = nullptr;
    std::wstring m_strModulePath; // the program's long path; empty when Windows gave none whole
    CString m_pszAppName;         // the program's file name without directory and extension
    std::wstring m_strHelpPath;   // the program's path with ".HLP" in place of its extension
    CWnd* m_pMainWnd = nullptr;
    // The settings file: a block of 260 wide characters, at most 259 and the terminator. The
    // program's folder may be named in any script, so the path never passes a code page.
    std::unique_ptr<wchar_t[]> m_strProfilePath;
    int m_nQuitCode = 0;

private:
    bool m_bAppNameFromPath; // no name was given to the constructor
};

// The long form of a path (GetLongPathNameW); the path as given where it has none, as for a file
// that does not exist.
std::wstring AfxGetLongPathName(const wchar_t* pszPath);

CWinApp* AfxGetApp();
int AfxMessageBox(const char* pszText, UINT nType = MB_OK);
// What the user is told when memory runs out.
extern const char kOutOfMemoryMessage[];

// The start and exit sequence: InitInstance once, the loop if it returned TRUE (else the main
// window, if one is still set, is destroyed), then ExitInstance once.
int AfxWinMain(HINSTANCE hInstance, int argc, char** argv);
