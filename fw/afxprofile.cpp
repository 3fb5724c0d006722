// The application's profile: the settings file, read and written by the program itself. Windows'
// profile functions would store it in the system's ANSI code page; this keeps its bytes as they
// are, whatever that code page, and converts only the values of a file saved in UTF-8 or UTF-16.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fw/afxapp.h"
#include "fw/afxcodepage.h"
#include "fw/afxini.h"
#include "fw/afxpath.h"

namespace {

constexpr std::size_t kMaxValueBytes = 4095;
// No settings file comes near this; a larger file is read as none and never rewritten.
constexpr LONGLONG kMaxFileBytes = 16 * 1024 * 1024;

class CFileHandle {
public:
    explicit CFileHandle(HANDLE h) : m_h(h) {}
    ~CFileHandle() { Close(); }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    bool IsOpen() const { return m_h != INVALID_HANDLE_VALUE; }
    operator HANDLE() const { return m_h; }
    void Close() {
        if (IsOpen())
            ::CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_h;
};

enum class ReadResult { kRead, kMissing, kFailed };

ReadResult ReadWholeFile(const wchar_t* pszPath, std::string* pBytes) {
    CFileHandle file(::CreateFileW(pszPath, GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::kMissing
                                                                              : ReadResult::kFailed;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart > kMaxFileBytes)
        return ReadResult::kFailed;
    pBytes->assign(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < pBytes->size()) {
        DWORD n = 0;
        if (!::ReadFile(file, &(*pBytes)[done], static_cast<DWORD>(pBytes->size() - done), &n, nullptr))
            return ReadResult::kFailed;
        if (n == 0)
            break;
        done += n;
    }
    pBytes->resize(done);
    return ReadResult::kRead;
}

bool WriteAll(HANDLE hFile, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        if (!::WriteFile(hFile, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &n, nullptr) ||
            n == 0)
            return false;
        done += n;
    }
    return true;
}

bool SetSize(HANDLE hFile, std::size_t size) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(size);
    return ::SetFilePointerEx(hFile, at, nullptr, FILE_BEGIN) && ::SetEndOfFile(hFile);
}

bool WriteFrom0(HANDLE hFile, const std::string& bytes) {
    const LARGE_INTEGER start{};
    return ::SetFilePointerEx(hFile, start, nullptr, FILE_BEGIN) && WriteAll(hFile, bytes);
}

// A new file beside the old one, flushed, then renamed over it in one step: a reader sees the
// old file or the new one, never a part. False, with no new file left, where any step fails.
bool ReplaceWholeFile(const wchar_t* pszPath, const std::string& bytes) {
    const PathParts parts = SplitPath(pszPath);
    std::wstring folder = parts.drive + parts.dir;
    if (folder.empty())
        folder = L".";
    wchar_t temp[MAX_PATH];
    if (!::GetTempFileNameW(folder.c_str(), L"kst", 0, temp))
        return false;
    CFileHandle file(
        ::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    bool bDone = file.IsOpen() && WriteAll(file, bytes) && ::FlushFileBuffers(file);
    file.Close();
    bDone = bDone && ::MoveFileExW(temp, pszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!bDone)
        ::DeleteFileW(temp);
    return bDone;
}

// Writes over the file itself: where the folder takes no new file or the rename is refused. A
// 32-bit program in a protected folder (Program Files) then still has its write redirected to
// the user's VirtualStore, which is done for opening a file to write, not for a rename. Room for
// the new text is made first, so that a full disk fails before the old text changes; after a
// failure the old bytes are put back, and a file this call made is removed.
bool WriteInPlace(const wchar_t* pszPath, const std::string& bytes, const std::string& oldBytes) {
    CFileHandle file(::CreateFileW(pszPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    const bool bExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (SetSize(file, std::max(bytes.size(), oldBytes.size())) && WriteFrom0(file, bytes) &&
        SetSize(file, bytes.size()) && ::FlushFileBuffers(file))
        return true;
    if (bExisted) {
        WriteFrom0(file, oldBytes);
        SetSize(file, oldBytes.size());
        return false;
    }
    file.Close();
    ::DeleteFileW(pszPath);
    return false;
}

// A text from one code page to another through UTF-16.
std::string Convert(const std::string& text, UINT from, UINT to) {
    if (text.empty())
        return text;
    const int n = ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0)
        return std::string();
    std::vector<wchar_t> wide(static_cast<std::size_t>(n));
    ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    const int m = ::WideCharToMultiByte(to, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    if (m <= 0)
        return std::string();
    std::string out(static_cast<std::size_t>(m), '\0');
    ::WideCharToMultiByte(to, 0, wide.data(), n, &out[0], m, nullptr, nullptr);
    return out;
}

} // namespace

CString CWinApp::GetProfileString(const char* pszSection, const char* pszEntry,
                                  const char* pszDefault) const {
    if (!m_strProfilePath || !m_strProfilePath[0] || !pszSection || !pszEntry)
        return CString(pszDefault);
    std::string bytes;
    if (ReadWholeFile(m_strProfilePath.get(), &bytes) != ReadResult::kRead)
        return CString(pszDefault);
    const IniText file = DecodeIniFile(bytes);
    std::string value;
    if (!ReadIniValue(file.text, file.Charset(), pszSection, pszEntry, &value))
        return CString(pszDefault);
    if (file.Charset() == IniCharset::kUtf8)
        value = Convert(value, CP_UTF8, kTextCodePage);
    return CString(CutText932(value, kMaxValueBytes).c_str());
}

BOOL CWinApp::WriteProfileStrings(const char* pszSection,
                                  std::initializer_list<CProfileEntry> entries) const {
    if (!m_strProfilePath || !m_strProfilePath[0] || !pszSection)
        return FALSE;
    const wchar_t* pszPath = m_strProfilePath.get();
    std::string oldBytes;
    // A file that is there but cannot be read is not replaced by one made without it.
    if (ReadWholeFile(pszPath, &oldBytes) == ReadResult::kFailed)
        return FALSE;
    IniText file = DecodeIniFile(oldBytes);
    std::vector<IniEntry> values;
    for (const CProfileEntry& entry : entries) {
        if (!entry.pszEntry)
            continue;
        std::string value = entry.pszValue ? entry.pszValue : "";
        if (file.Charset() == IniCharset::kUtf8)
            value = Convert(value, kTextCodePage, CP_UTF8);
        values.push_back({entry.pszEntry, value});
    }
    file.text = WriteIniValues(file.text, file.Charset(), pszSection, values.data(), values.size());
    const std::string bytes = EncodeIniFile(file);
    return ReplaceWholeFile(pszPath, bytes) || WriteInPlace(pszPath, bytes, oldBytes);
}
