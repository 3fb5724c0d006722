// The application's profile: the settings file, read and written by the program itself. Windows'
// profile functions would store it in the system's ANSI code page; this keeps its bytes as they
// are, whatever that code page, and converts only the values of a file saved in UTF-8 or UTF-16.
// A save keeps the file Windows knows: its attributes and security descriptor stay.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fw/afxapp.h"
#include "fw/afxcodepage.h"
#include "fw/afxcp.h"
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

std::wstring FolderOf(const wchar_t* pszPath) {
    const PathParts parts = SplitPath(pszPath);
    const std::wstring folder = parts.drive + parts.dir;
    return folder.empty() ? L"." : folder;
}

// A fresh name in the settings file's folder (kst*.tmp, which the uninstaller removes should a
// crash leave one behind); the file of that name exists, empty.
bool TempFileBeside(const wchar_t* pszPath, std::wstring* pTemp) {
    wchar_t temp[MAX_PATH];
    if (!::GetTempFileNameW(FolderOf(pszPath).c_str(), L"kst", 0, temp))
        return false;
    *pTemp = temp;
    return true;
}

// The new text in a new file beside the old one, flushed; false, with no file left, on failure.
bool WriteTempFile(const wchar_t* pszPath, const std::string& bytes, std::wstring* pTemp) {
    if (!TempFileBeside(pszPath, pTemp))
        return false;
    CFileHandle file(::CreateFileW(pTemp->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    const bool bDone = file.IsOpen() && WriteAll(file, bytes) && ::FlushFileBuffers(file);
    file.Close();
    if (!bDone)
        ::DeleteFileW(pTemp->c_str());
    return bDone;
}

bool Exists(const wchar_t* pszPath) {
    return ::GetFileAttributesW(pszPath) != INVALID_FILE_ATTRIBUTES;
}

// The first file of a new settings file, renamed into place in one step: a reader sees no file or
// the whole one.
bool CreateWholeFile(const wchar_t* pszPath, const std::string& bytes) {
    std::wstring temp;
    if (!WriteTempFile(pszPath, bytes, &temp))
        return false;
    if (::MoveFileExW(temp.c_str(), pszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(temp.c_str());
    return false;
}

// Gives the file the attributes it had before it was replaced. Windows' ReplaceFileW has kept
// them already; Wine's moves the contents alone.
void KeepAttributes(const wchar_t* pszPath, DWORD attributes) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (::GetFileAttributesW(pszPath) & kKept) != (attributes & kKept))
        ::SetFileAttributesW(pszPath, attributes & kKept);
}

// The new text replaces the existing file in one step, as the same file for Windows: ReplaceFileW
// moves the old file's attributes and security descriptor onto the new one. The old file goes to
// a backup name on the way, so that no failure can leave the settings file's name empty. True when
// the new text stands under the name; false when the old file does (or, should even putting it
// back fail, it is kept under its backup name).
bool ReplaceExistingFile(const wchar_t* pszPath, const std::string& bytes) {
    std::wstring temp, backup;
    if (!WriteTempFile(pszPath, bytes, &temp))
        return false;
    // Only the name is wanted: ReplaceFileW moves the old file to it.
    if (!TempFileBeside(pszPath, &backup)) {
        ::DeleteFileW(temp.c_str());
        return false;
    }
    ::DeleteFileW(backup.c_str());
    const DWORD attributes = ::GetFileAttributesW(pszPath);
    if (::ReplaceFileW(pszPath, temp.c_str(), backup.c_str(), 0, nullptr, nullptr)) {
        ::DeleteFileW(backup.c_str());
        KeepAttributes(pszPath, attributes);
        return true;
    }
    // ERROR_UNABLE_TO_REMOVE_REPLACED, ERROR_UNABLE_TO_MOVE_REPLACEMENT (a backup name given) and
    // any other error leave both files under their names. ERROR_UNABLE_TO_MOVE_REPLACEMENT_2
    // leaves the old file under the backup name, and the name empty: the old file goes back.
    // Without a backup, ERROR_UNABLE_TO_MOVE_REPLACEMENT would leave the new file alone, under
    // its temporary name: it then takes the name, being all there is.
    if (!Exists(pszPath)) {
        if (Exists(backup.c_str())) {
            ::MoveFileExW(backup.c_str(), pszPath, MOVEFILE_WRITE_THROUGH);
        } else if (::MoveFileExW(temp.c_str(), pszPath, MOVEFILE_WRITE_THROUGH)) {
            KeepAttributes(pszPath, attributes);
            return true;
        }
    }
    ::DeleteFileW(temp.c_str());
    if (Exists(pszPath))
        ::DeleteFileW(backup.c_str());
    return false;
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

// A value of the file in the program's form: code page 932, at most 4095 bytes.
std::string ProgramForm(const IniText& file, const std::string& value) {
    return CutText932(file.Charset() == IniCharset::kUtf8 ? AfxConvert(value, CP_UTF8, kTextCodePage) : value,
                      kMaxValueBytes);
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
    if (!file.Readable() || !ReadIniValue(file.text, file.Charset(), pszSection, pszEntry, &value))
        return CString(pszDefault);
    return CString(ProgramForm(file, value).c_str());
}

BOOL CWinApp::WriteProfileStrings(const char* pszSection,
                                  std::initializer_list<CProfileEntry> entries) const {
    if (!m_strProfilePath || !m_strProfilePath[0] || !pszSection)
        return FALSE;
    const wchar_t* pszPath = m_strProfilePath.get();
    std::string oldBytes;
    // A file that is there but cannot be read is not replaced by one made without it, nor is a
    // file the user made read-only, nor one whose text the program cannot read.
    const ReadResult read = ReadWholeFile(pszPath, &oldBytes);
    if (read == ReadResult::kFailed)
        return FALSE;
    // Attributes that cannot be read count as read-only (all bits set).
    if (read == ReadResult::kRead && (::GetFileAttributesW(pszPath) & FILE_ATTRIBUTE_READONLY))
        return FALSE;
    IniText file = DecodeIniFile(oldBytes);
    if (!file.Readable())
        return FALSE;
    std::vector<IniEntry> values;
    for (const CProfileEntry& entry : entries) {
        if (!entry.pszEntry)
            continue;
        std::string value = entry.pszValue ? entry.pszValue : "";
        // A value that reads as the one to write is written as the file has it, so its line stays
        // byte for byte: also a character code page 932 lacks, which the program holds as '?'.
        std::string stored;
        if (ReadIniValue(file.text, file.Charset(), pszSection, entry.pszEntry, &stored) &&
            ProgramForm(file, stored) == value)
            value = stored;
        else if (file.Charset() == IniCharset::kUtf8)
            value = AfxConvert(value, kTextCodePage, CP_UTF8);
        values.push_back({entry.pszEntry, value});
    }
    file.text = WriteIniValues(file.text, file.Charset(), pszSection, values.data(), values.size());
    // Code page 932 text that happens to be valid UTF-8 (half-width katakana such as "ﾃｽ" is) would
    // read back as UTF-8; it is stored as UTF-8 then, which reads back as it was meant.
    if (file.encoding == IniText::kPlain && DecodeIniFile(file.text).encoding != IniText::kPlain) {
        file.encoding = IniText::kUtf8;
        file.text = AfxConvert(file.text, kTextCodePage, CP_UTF8);
    }
    const std::string bytes = EncodeIniFile(file);
    if (read == ReadResult::kMissing)
        return CreateWholeFile(pszPath, bytes) || WriteInPlace(pszPath, bytes, oldBytes);
    return ReplaceExistingFile(pszPath, bytes) || (Exists(pszPath) && WriteInPlace(pszPath, bytes, oldBytes));
}
