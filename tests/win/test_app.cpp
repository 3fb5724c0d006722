// The test application object and file helpers.
#include "win/test_app.h"

#include <cstdio>
#include <ctime>
#include <cwchar>
#include <fstream>
#include <sstream>

#include "fw/afxcp.h"

namespace {
CTestApp g_testApp;

std::int64_t g_pinnedTime = 0;
std::int64_t PinnedTime() {
    return g_pinnedTime;
}
} // namespace

CTestApp& TestApp() {
    return g_testApp;
}

CPinnedClock::CPinnedClock(CTime time) : m_pfnSaved(CTime::s_pfnTime) {
    g_pinnedTime = time.GetTime();
    CTime::s_pfnTime = &PinnedTime;
}

CPinnedClock::~CPinnedClock() {
    CTime::s_pfnTime = m_pfnSaved;
}

BOOL CTestApp::WinHelp(DWORD_PTR dwData, UINT) {
    m_helpRequests.push_back(dwData);
    return m_bHelpStarts;
}

int CTestApp::DoMessageBox(const char* pszText, UINT nType) {
    m_messages.push_back({pszText, nType});
    return IDOK;
}

void SetProfilePath(const std::string& path) {
    TestApp().m_strProfilePath.reset(new wchar_t[260]);
    std::swprintf(TestApp().m_strProfilePath.get(), 260, L"%ls", AfxToWide(path.c_str()).c_str());
}

CTempDir::CTempDir() {
    char base[MAX_PATH];
    ::GetTempPathA(sizeof base, base);
    static int counter = 0;
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%skestrovin-test-%lu-%d", base, ::GetCurrentProcessId(), ++counter);
    m_path = name;
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

CTempDir::~CTempDir() {
    WIN32_FIND_DATAA fd;
    const std::string pattern = m_path + "\\*";
    HANDLE h = ::FindFirstFileA(pattern.c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string file = m_path + "\\" + fd.cFileName;
            ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(file.c_str());
        } while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(m_path.c_str());
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void PumpMessages(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (::GetTickCount() - start < milliseconds);
}
