// The settings store against the real file functions, at whichever code page the process runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/settings_text.h"
#include "fw/afxcodepage.h"
#include "win/import_hook.h"
#include "win/test_app.h"

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_ini = m_dir.File("Kestrovin.ini");
        SetProfilePath(m_ini);
    }
    void Store(CTime from, CTime to, const char* title, const char* subject) {
        CTestApp& app = TestApp();
        app.m_timeFrom = from;
        app.m_timeTo = to;
        app.m_strTitle = title;
        app.m_strSubject = subject;
    }

    CTempDir m_dir;
    std::string m_ini;
};

TEST_F(SettingsStoreTest, MissingFileGivesDefaultsAndCreatesNothing) {
    const CTime before = CTime::GetCurrentTime();
    TestApp().LoadSettings();
    const CTime after = CTime::GetCurrentTime();
    const CTestApp& app = TestApp();
    EXPECT_GE(app.m_timeFrom, before);
    EXPECT_LE(app.m_timeFrom, after);
    EXPECT_EQ(app.m_timeTo - app.m_timeFrom, 432000);
    EXPECT_EQ(std::string(app.m_strTitle), "○×ソフト株式会社 納期");
    EXPECT_EQ(std::string(app.m_strSubject), "○×管理システム第一次開発終了まで");
    // Past 2038 the default period is the same five days.
    for (const CTime now : {CTime(2039, 6, 1, 12, 0, 0), CTime(2999, 6, 1, 12, 0, 0)}) {
        const CPinnedClock clock(now);
        TestApp().LoadSettings();
        EXPECT_EQ(app.m_timeFrom.GetTime(), now.GetTime());
        EXPECT_EQ(app.m_timeTo.GetTime(), (now + 432000).GetTime());
    }
    EXPECT_FALSE(FileExists(m_ini));
}

TEST_F(SettingsStoreTest, FirstSaveWritesTheKeysInOrder) {
    Store(CTime(2003, 3, 14, 18, 30, 0), CTime(2003, 3, 19, 18, 30, 0), kDefaultTitle, kDefaultSubject);
    ASSERT_TRUE(TestApp().SaveSettings());
    EXPECT_EQ(ReadFileBytes(m_ini), "[SYSTEM]\r\n"
                                    "FROM_DATE=2003/03/14 18:30:00\r\n"
                                    "TO_DATE=2003/03/19 18:30:00\r\n"
                                    "TITLE=○×ソフト株式会社 納期\r\n"
                                    "SUBJECT=○×管理システム第一次開発終了まで\r\n");
}

TEST_F(SettingsStoreTest, HandEditedValuesReadAsTheyStand) {
    const std::string longValue(5000, 'x');
    WriteFileBytes(m_ini, "; edited by hand\r\n[other]\r\nTITLE=not this one\r\n[SYSTEM]\r\n"
                          "FROM_DATE=2003/2/30\r\nTO_DATE=\r\nTITLE=\r\nSUBJECT=" +
                              longValue + "\r\n");
    TestApp().LoadSettings();
    const CTestApp& app = TestApp();
    EXPECT_EQ(std::string(app.m_timeFrom.Format("%Y-%m-%d %H:%M:%S")), "2003-03-02 00:00:00");
    EXPECT_EQ(app.m_timeTo.GetTime(), -1);
    EXPECT_EQ(std::string(app.m_strTitle), "");
    EXPECT_EQ(std::string(app.m_strSubject), longValue.substr(0, 4095));
}

// 4095 wide characters of a value can take twice as many bytes: the cut falls between two.
TEST_F(SettingsStoreTest, ALongDoubleByteValueIsCutBetweenCharacters) {
    std::string value;
    for (int i = 0; i < 2100; ++i)
        value += "漢";
    WriteFileBytes(m_ini, "[SYSTEM]\r\nTITLE=" + value + "\r\n");
    TestApp().LoadSettings();
    EXPECT_EQ(std::string(TestApp().m_strTitle), value.substr(0, 4094));
}

TEST_F(SettingsStoreTest, LoadingNeverWrites) {
    const std::string text = "[SYSTEM]\r\nTITLE=abc\r\n";
    WriteFileBytes(m_ini, text);
    TestApp().LoadSettings();
    EXPECT_EQ(ReadFileBytes(m_ini), text);
    EXPECT_EQ(std::string(TestApp().m_strTitle), "abc");
}

TEST_F(SettingsStoreTest, InvalidTimeIsWrittenEmpty) {
    Store(CTime(-1), CTime(-1), "t", "s");
    ASSERT_TRUE(TestApp().SaveSettings());
    EXPECT_NE(ReadFileBytes(m_ini).find("FROM_DATE=\r\nTO_DATE=\r\n"), std::string::npos);
    TestApp().LoadSettings();
    EXPECT_EQ(TestApp().m_timeFrom.GetTime(), -1);
    EXPECT_EQ(TestApp().m_timeTo.GetTime(), -1);
}

// A hand-edited file keeps every other byte: its comments, blank lines, line ends and blanks, and
// a changed key its spelling.
TEST_F(SettingsStoreTest, SaveKeepsOtherLines) {
    WriteFileBytes(
        m_ini, "; 手で書いた\n[first]\nkeep = 1\n\n[system]\n title = old \nEXTRA=2\n\n[last]\nx=\x83\x5D");
    Store(CTime(2003, 3, 14, 18, 30, 0), CTime(2003, 3, 19, 18, 30, 0), " 新しい ", "件名");
    ASSERT_TRUE(TestApp().SaveSettings());
    EXPECT_EQ(ReadFileBytes(m_ini),
              "; 手で書いた\n[first]\nkeep = 1\n\n[system]\n title = \" 新しい \"\nEXTRA=2\n"
              "FROM_DATE=2003/03/14 18:30:00\nTO_DATE=2003/03/19 18:30:00\nSUBJECT=件名\n"
              "\n[last]\nx=\x83\x5D");
}

std::string InUtf8(const std::u16string& text) {
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int n = static_cast<int>(text.size());
    std::string bytes(
        static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, wide, n, nullptr, 0, nullptr, nullptr)),
        '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, n, &bytes[0], static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}

std::string InUtf16(const std::u16string& text, bool bBigEndian) {
    std::string bytes = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += bBigEndian ? high : low;
        bytes += bBigEndian ? low : high;
    }
    return bytes;
}

// A file an editor saved in UTF-8 (with a byte-order mark or without) or UTF-16 (either byte
// order) is read, and written back, in its encoding. A value the save does not change keeps its
// line, characters code page 932 lacks included; a changed one keeps the key's spelling.
TEST_F(SettingsStoreTest, UnicodeFilesKeepTheirEncodingAndUnchangedLines) {
    const struct {
        const char* name;
        std::string (*encode)(const std::u16string&);
    } encodings[] = {
        {"UTF-8", [](const std::u16string& text) { return InUtf8(text); }},
        {"UTF-8 with a mark", [](const std::u16string& text) { return "\xEF\xBB\xBF" + InUtf8(text); }},
        {"UTF-16LE", [](const std::u16string& text) { return InUtf16(text, false); }},
        {"UTF-16BE", [](const std::u16string& text) { return InUtf16(text, true); }},
    };
    for (const auto& e : encodings) {
        WriteFileBytes(
            m_ini,
            e.encode(u"; 設定\r\n[SYSTEM]\r\n  title = ○×納期\r\nSUBJECT=納期まで\xD83D\xDE00\xD55C\r\n"));
        TestApp().LoadSettings();
        EXPECT_EQ(std::string(TestApp().m_strTitle), "○×納期") << e.name;
        EXPECT_EQ(std::string(TestApp().m_strSubject).substr(0, 8), "納期まで") << e.name;
        // A new title; the subject as it was loaded.
        Store(CTime(2003, 3, 14, 18, 30, 0), CTime(2003, 3, 19, 18, 30, 0), "新しい題",
              TestApp().m_strSubject);
        ASSERT_TRUE(TestApp().SaveSettings()) << e.name;
        EXPECT_EQ(
            ReadFileBytes(m_ini),
            e.encode(u"; 設定\r\n[SYSTEM]\r\n  title = 新しい題\r\nSUBJECT=納期まで\xD83D\xDE00\xD55C\r\n"
                     u"FROM_DATE=2003/03/14 18:30:00\r\nTO_DATE=2003/03/19 18:30:00\r\n"))
            << e.name;
        TestApp().LoadSettings();
        EXPECT_EQ(std::string(TestApp().m_strTitle), "新しい題") << e.name;
        // Saving again changes nothing; a changed subject is written in the file's encoding.
        ASSERT_TRUE(TestApp().SaveSettings()) << e.name;
        TestApp().m_strSubject = "件名";
        ASSERT_TRUE(TestApp().SaveSettings()) << e.name;
        EXPECT_EQ(ReadFileBytes(m_ini),
                  e.encode(u"; 設定\r\n[SYSTEM]\r\n  title = 新しい題\r\nSUBJECT=件名\r\n"
                           u"FROM_DATE=2003/03/14 18:30:00\r\nTO_DATE=2003/03/19 18:30:00\r\n"))
            << e.name;
    }
}

// Without a mark, a file is UTF-8 where it is valid UTF-8, and code page 932 otherwise.
TEST_F(SettingsStoreTest, AFileWithoutAMarkIsUtf8OnlyWhereItIsUtf8) {
    WriteFileBytes(m_ini, InUtf8(u"[SYSTEM]\r\nTITLE=納期\r\n"));
    TestApp().LoadSettings();
    EXPECT_EQ(std::string(TestApp().m_strTitle), "納期");
    WriteFileBytes(m_ini, "[SYSTEM]\r\nTITLE=納期\r\n"); // the source's code page 932 bytes
    TestApp().LoadSettings();
    EXPECT_EQ(std::string(TestApp().m_strTitle), "納期");
    Store(CTime(2003, 3, 14, 18, 30, 0), CTime(2003, 3, 19, 18, 30, 0), "納期", "件名");
    ASSERT_TRUE(TestApp().SaveSettings());
    EXPECT_EQ(ReadFileBytes(m_ini), "[SYSTEM]\r\nTITLE=納期\r\nFROM_DATE=2003/03/14 18:30:00\r\n"
                                    "TO_DATE=2003/03/19 18:30:00\r\nSUBJECT=件名\r\n");
    // Code page 932 bytes that would read as UTF-8 ("ﾃｽ" is C3 BD, "ý") are stored as UTF-8.
    ::DeleteFileA(m_ini.c_str());
    Store(CTime(2003, 3, 14, 18, 30, 0), CTime(2003, 3, 19, 18, 30, 0), "ﾃｽ", "s");
    ASSERT_TRUE(TestApp().SaveSettings());
    EXPECT_EQ(ReadFileBytes(m_ini), InUtf8(u"[SYSTEM]\r\nFROM_DATE=2003/03/14 18:30:00\r\n"
                                           u"TO_DATE=2003/03/19 18:30:00\r\nTITLE=ﾃｽ\r\nSUBJECT=s\r\n"));
    TestApp().LoadSettings();
    EXPECT_EQ(std::string(TestApp().m_strTitle), "ﾃｽ");
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    const HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::string(fd.cFileName) != "." && std::string(fd.cFileName) != "..")
            names.push_back(fd.cFileName);
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    return names;
}

// The file system's number for the file at the path, 0 when there is none.
std::uint64_t FileIndex(const std::string& path) {
    const HANDLE h = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION info{};
    ::GetFileInformationByHandle(h, &info);
    ::CloseHandle(h);
    return static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
}

BOOL WINAPI RefuseMoveFileEx(LPCWSTR, LPCWSTR, DWORD) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}
UINT WINAPI RefuseGetTempFileName(LPCWSTR, LPCWSTR, UINT, LPWSTR) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}
BOOL WINAPI RefuseWriteFile(HANDLE, LPCVOID, DWORD, LPDWORD pWritten, LPOVERLAPPED) {
    if (pWritten)
        *pWritten = 0;
    ::SetLastError(ERROR_DISK_FULL);
    return FALSE;
}
// ReplaceFileW's failures, each leaving the files as Microsoft documents it (with a backup name,
// ERROR_UNABLE_TO_MOVE_REPLACEMENT leaves both names as ERROR_UNABLE_TO_REMOVE_REPLACED does).
BOOL WINAPI ReplaceFileUnableToRemoveReplaced(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID) {
    ::SetLastError(ERROR_UNABLE_TO_REMOVE_REPLACED); // both files keep their names
    return FALSE;
}
BOOL WINAPI ReplaceFileUnableToMoveReplacement2(LPCWSTR pszReplaced, LPCWSTR, LPCWSTR pszBackup, DWORD,
                                                LPVOID, LPVOID) {
    ::MoveFileExW(pszReplaced, pszBackup, MOVEFILE_REPLACE_EXISTING); // the name is left empty
    ::SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    return FALSE;
}
BOOL WINAPI ReplaceFileRemovingReplaced(LPCWSTR pszReplaced, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID) {
    // As ERROR_UNABLE_TO_MOVE_REPLACEMENT without a backup name: what a save must never rely on.
    ::DeleteFileW(pszReplaced);
    ::SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    return FALSE;
}

// A save replaces the file in one step as the same file for Windows: the new one has another
// file index but the old one's attributes (hidden, for one). Where the folder takes no new file
// or ReplaceFileW fails, the file is written in place; where nothing can be written, the old file
// stays whole (or none is made). A new file comes by a rename. No temporary file is left.
TEST_F(SettingsStoreTest, SaveReplacesTheFileOrWritesInPlaceOrFailsWhole) {
    const struct {
        const char* refused; // nullptr: nothing is
        void* refusal;
        bool saved;
        bool replaced; // the file that was there
    } cases[] = {
        {nullptr, nullptr, true, true},
        {"MoveFileExW", reinterpret_cast<void*>(&RefuseMoveFileEx), true, true},
        {"GetTempFileNameW", reinterpret_cast<void*>(&RefuseGetTempFileName), true, false},
        {"WriteFile", reinterpret_cast<void*>(&RefuseWriteFile), false, false},
        {"ReplaceFileW", reinterpret_cast<void*>(&ReplaceFileUnableToRemoveReplaced), true, false},
        {"ReplaceFileW", reinterpret_cast<void*>(&ReplaceFileUnableToMoveReplacement2), true, false},
        {"ReplaceFileW", reinterpret_cast<void*>(&ReplaceFileRemovingReplaced), true, true},
    };
    const std::string old = "[SYSTEM]\r\nTITLE=古い題名で長めの行\r\nSUBJECT=old\r\n; 終わり\r\n";
    const std::string saved = "[SYSTEM]\r\nTITLE=new\r\nSUBJECT=s\r\nFROM_DATE=2001/09/09 10:46:40\r\n"
                              "TO_DATE=2001/09/09 10:46:41\r\n; 終わり\r\n";
    const std::string fresh = "[SYSTEM]\r\nFROM_DATE=2001/09/09 10:46:40\r\nTO_DATE=2001/09/09 10:46:41\r\n"
                              "TITLE=new\r\nSUBJECT=s\r\n";
    Store(CTime(1000000000), CTime(1000000001), "new", "s");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        for (const bool bExisted : {true, false}) {
            const std::string label = "case " + std::to_string(i) + " (" +
                                      (c.refused ? c.refused : "nothing") +
                                      (bExisted ? "), file there" : "), no file");
            ::SetFileAttributesA(m_ini.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(m_ini.c_str());
            DWORD attributes = INVALID_FILE_ATTRIBUTES;
            if (bExisted) {
                WriteFileBytes(m_ini, old);
                ASSERT_TRUE(::SetFileAttributesA(m_ini.c_str(), FILE_ATTRIBUTE_HIDDEN));
                attributes = ::GetFileAttributesA(m_ini.c_str());
            }
            const std::uint64_t index = FileIndex(m_ini);
            bool bResult = false;
            {
                std::unique_ptr<CImportHook> hook;
                if (c.refused) {
                    hook = std::make_unique<CImportHook>("KERNEL32.dll", c.refused, c.refusal);
                    ASSERT_TRUE(hook->Installed()) << label;
                }
                bResult = TestApp().SaveSettings();
            }
            EXPECT_EQ(bResult, c.saved) << label;
            if (bExisted) {
                EXPECT_EQ(FileIndex(m_ini) != index, c.saved && c.replaced) << label << ": replaced";
                EXPECT_EQ(::GetFileAttributesA(m_ini.c_str()), attributes) << label;
                ::SetFileAttributesA(m_ini.c_str(), FILE_ATTRIBUTE_NORMAL);
                EXPECT_EQ(ReadFileBytes(m_ini), c.saved ? saved : old) << label;
            } else if (c.saved) {
                EXPECT_EQ(ReadFileBytes(m_ini), fresh) << label;
            }
            EXPECT_EQ(FilesIn(m_dir.Path()), c.saved || bExisted ? std::vector<std::string>{"Kestrovin.ini"}
                                                                 : std::vector<std::string>{})
                << label;
        }
    }
}

// Saves that could only lose what the file holds are refused: the save fails (and so is
// reported) and the file keeps its bytes and attributes.
TEST_F(SettingsStoreTest, SavesThatWouldLoseTheFileAreRefused) {
    using namespace std::string_literals;
    const std::string text = "[SYSTEM]\r\nTITLE=old\r\n";
    const struct {
        const char* name;
        std::string bytes;
        DWORD attributes;
        DWORD holderSharing; // ~0u: nobody holds the file
    } cases[] = {
        {"read-only", text, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, ~0u},
        {"held without sharing", text, FILE_ATTRIBUTE_ARCHIVE, 0},
        {"held, shared for reading", text, FILE_ATTRIBUTE_ARCHIVE, FILE_SHARE_READ},
        {"UTF-16 without a mark", "[\0S\0Y\0S\0T\0E\0M\0]\0\r\0\n\0T\0I\0T\0L\0E\0=\0x\0"s,
         FILE_ATTRIBUTE_ARCHIVE, ~0u},
        {"a NUL byte without a mark", text + "\0"s, FILE_ATTRIBUTE_ARCHIVE, ~0u},
    };
    Store(CTime(1000000000), CTime(1000000001), "new", "s");
    for (const auto& c : cases) {
        WriteFileBytes(m_ini, c.bytes);
        ASSERT_TRUE(::SetFileAttributesA(m_ini.c_str(), c.attributes)) << c.name;
        const DWORD attributes = ::GetFileAttributesA(m_ini.c_str());
        HANDLE hHolder = INVALID_HANDLE_VALUE;
        if (c.holderSharing != ~0u) {
            hHolder = ::CreateFileA(m_ini.c_str(), GENERIC_READ, c.holderSharing, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(hHolder, INVALID_HANDLE_VALUE) << c.name;
        }
        EXPECT_FALSE(TestApp().SaveSettings()) << c.name;
        if (hHolder != INVALID_HANDLE_VALUE)
            ::CloseHandle(hHolder);
        EXPECT_EQ(::GetFileAttributesA(m_ini.c_str()), attributes) << c.name;
        ::SetFileAttributesA(m_ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ReadFileBytes(m_ini), c.bytes) << c.name;
        EXPECT_EQ(FilesIn(m_dir.Path()), std::vector<std::string>{"Kestrovin.ini"}) << c.name;
    }
    // Nothing of a file with NUL bytes is read either.
    for (const auto& c : {cases[3], cases[4]}) {
        WriteFileBytes(m_ini, c.bytes);
        TestApp().LoadSettings();
        EXPECT_EQ(std::string(TestApp().m_strTitle), kDefaultTitle) << c.name;
    }
}

TEST_F(SettingsStoreTest, UnwritableSettingsPathReportsTheFailure) {
    // A folder standing where the file should be cannot be written, even by an administrator
    // (a read-only attribute does not stop root under Wine).
    ASSERT_TRUE(::CreateDirectoryA(m_ini.c_str(), nullptr));
    Store(CTime(1000000000), CTime(1000000001), "new", "s");
    EXPECT_FALSE(TestApp().SaveSettings());
    ::RemoveDirectoryA(m_ini.c_str());
}

TEST_F(SettingsStoreTest, NoSettingsPathMeansDefaultsAndAFailedSave) {
    SetProfilePath("");
    TestApp().LoadSettings();
    EXPECT_EQ(std::string(TestApp().m_strTitle), kDefaultTitle);
    EXPECT_FALSE(TestApp().SaveSettings());
}

// Generated texts in code page 932 for the round trip: characters of both widths, blanks of
// both widths at either end, the characters the file format gives a meaning, the empty text,
// up to 60 bytes.
class CTextGenerator {
public:
    explicit CTextGenerator(std::uint32_t seed) : m_random(seed) {
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (lead > 0x9F && lead < 0xE0)
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const char ch[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                wchar_t wide[2];
                if (trail != 0x7F && ::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, ch, 2, wide, 2) == 1)
                    m_doubleByte.emplace_back(ch, 2);
            }
        }
    }
    std::string Next() {
        if (Pick(20) == 0)
            return "";
        static const char* const kBlanks[] = {" ", "\t", "\x81\x40"};
        static const char* const kMarks[] = {"\"", "'", "=", ";", "[", "]"};
        std::string text;
        for (int n = Pick(3); n > 0; --n)
            text += kBlanks[Pick(3)];
        const std::size_t length = static_cast<std::size_t>(Pick(61));
        while (text.size() < length) {
            switch (Pick(4)) {
            case 0:
                text += m_doubleByte[Pick(static_cast<int>(m_doubleByte.size()))];
                break;
            case 1:
                text += static_cast<char>(0x20 + Pick(0x5F)); // printable ASCII
                break;
            case 2:
                text += static_cast<char>(0xA1 + Pick(0x3F)); // half-width katakana
                break;
            default:
                text += kMarks[Pick(6)];
                break;
            }
        }
        for (int n = Pick(3); n > 0; --n)
            text += kBlanks[Pick(3)];
        if (Pick(10) == 0)
            text = kMarks[Pick(2)] + text + kMarks[Pick(2)];
        // At most 60 bytes, cut at a character boundary.
        std::size_t end = 0;
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t next = i + (AfxIsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1);
            if (next > 60)
                break;
            end = i = next;
        }
        return text.substr(0, end);
    }

private:
    int Pick(int n) { return static_cast<int>(m_random() % static_cast<std::uint32_t>(n)); }

    std::mt19937 m_random;
    std::vector<std::string> m_doubleByte;
};

std::string Hex(const std::string& text) {
    std::string out;
    char buffer[4];
    for (const unsigned char ch : text) {
        std::snprintf(buffer, sizeof buffer, "%02X ", ch);
        out += buffer;
    }
    return out;
}

TEST_F(SettingsStoreTest, GeneratedTitlesAndSubjectsComeBackByteForByte) {
    constexpr std::uint32_t kSeed = 20261208;
    constexpr int kPairs = 2000;
    std::printf("round trip of %d title and subject pairs, seed %u\n", kPairs, kSeed);
    CTextGenerator generator(kSeed);
    int failures = 0;
    for (int i = 0; i < kPairs; ++i) {
        const std::string title = generator.Next();
        const std::string subject = generator.Next();
        // Each pair also brings back two times to the second (days clear of any clock change).
        const CTime from(1000000000 + i), to(1100000000 + i * 61);
        Store(from, to, title.c_str(), subject.c_str());
        ASSERT_TRUE(TestApp().SaveSettings());
        Store(CTime(0), CTime(0), "?", "?");
        TestApp().LoadSettings();
        EXPECT_EQ(TestApp().m_timeFrom, from) << "pair " << i;
        EXPECT_EQ(TestApp().m_timeTo, to) << "pair " << i;
        for (const auto& [saved, loaded] : {std::make_pair(title, std::string(TestApp().m_strTitle)),
                                            std::make_pair(subject, std::string(TestApp().m_strSubject))}) {
            if (loaded != saved && ++failures <= 10)
                ADD_FAILURE() << "pair " << i << ": saved [" << Hex(saved) << "] read back [" << Hex(loaded)
                              << "]";
        }
    }
    EXPECT_EQ(failures, 0) << "texts that did not come back (seed " << kSeed << ")";
}

} // namespace
