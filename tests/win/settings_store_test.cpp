// The settings store against the real file functions, at whichever code page the process runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
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

// A hand-edited file keeps every other byte: its comments, blank lines, line ends and blanks.
TEST_F(SettingsStoreTest, SaveKeepsOtherLines) {
    WriteFileBytes(
        m_ini, "; 手で書いた\n[first]\nkeep = 1\n\n[system]\n title = old \nEXTRA=2\n\n[last]\nx=\x83\x5D");
    Store(CTime(2003, 3, 14, 18, 30, 0), CTime(2003, 3, 19, 18, 30, 0), " 新しい ", "件名");
    ASSERT_TRUE(TestApp().SaveSettings());
    EXPECT_EQ(ReadFileBytes(m_ini),
              "; 手で書いた\n[first]\nkeep = 1\n\n[system]\nTITLE=\" 新しい \"\nEXTRA=2\n"
              "FROM_DATE=2003/03/14 18:30:00\nTO_DATE=2003/03/19 18:30:00\nSUBJECT=件名\n"
              "\n[last]\nx=\x83\x5D");
}

// A file an editor saved with a byte-order mark is read, and written back, in its encoding.
TEST_F(SettingsStoreTest, FilesWithAByteOrderMarkKeepTheirEncoding) {
    const auto inUtf8 = [](const std::u16string& text) {
        const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
        const int n = static_cast<int>(text.size());
        std::string bytes(static_cast<std::size_t>(
                              ::WideCharToMultiByte(CP_UTF8, 0, wide, n, nullptr, 0, nullptr, nullptr)),
                          '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, wide, n, &bytes[0], static_cast<int>(bytes.size()), nullptr,
                              nullptr);
        return "\xEF\xBB\xBF" + bytes;
    };
    const auto inUtf16 = [](const std::u16string& text) {
        return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    };
    for (const auto& encode : {std::function<std::string(const std::u16string&)>(inUtf8),
                               std::function<std::string(const std::u16string&)>(inUtf16)}) {
        WriteFileBytes(m_ini, encode(u"; 設定 \U0001F600\r\n[SYSTEM]\r\nTITLE=○×納期\r\nSUBJECT=한\r\n"));
        TestApp().LoadSettings();
        EXPECT_EQ(std::string(TestApp().m_strTitle), "○×納期");
        EXPECT_EQ(std::string(TestApp().m_strSubject), "?"); // not in code page 932
        Store(CTime(2003, 3, 14, 18, 30, 0), CTime(2003, 3, 19, 18, 30, 0), "新しい題", "件名");
        ASSERT_TRUE(TestApp().SaveSettings());
        EXPECT_EQ(ReadFileBytes(m_ini),
                  encode(u"; 設定 \U0001F600\r\n[SYSTEM]\r\nTITLE=新しい題\r\nSUBJECT=件名\r\n"
                         u"FROM_DATE=2003/03/14 18:30:00\r\nTO_DATE=2003/03/19 18:30:00\r\n"));
    }
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

// A save replaces the file in one step: the new one is another file (another file index).
// Where the folder takes no new file or the rename is refused, the file is written in place;
// where nothing can be written, the old file stays whole (or none is made). No temporary file
// is left in any case.
TEST_F(SettingsStoreTest, SaveReplacesTheFileOrWritesInPlaceOrFailsWhole) {
    const struct {
        const char* refused; // nullptr: nothing is
        void* refusal;
        bool saved;
        bool replaced;
    } cases[] = {
        {nullptr, nullptr, true, true},
        {"MoveFileExW", reinterpret_cast<void*>(&RefuseMoveFileEx), true, false},
        {"GetTempFileNameW", reinterpret_cast<void*>(&RefuseGetTempFileName), true, false},
        {"WriteFile", reinterpret_cast<void*>(&RefuseWriteFile), false, false},
    };
    const std::string old = "[SYSTEM]\r\nTITLE=古い題名で長めの行\r\nSUBJECT=old\r\n; 終わり\r\n";
    const std::string saved = "[SYSTEM]\r\nTITLE=new\r\nSUBJECT=s\r\nFROM_DATE=2001/09/09 10:46:40\r\n"
                              "TO_DATE=2001/09/09 10:46:41\r\n; 終わり\r\n";
    const std::string fresh = "[SYSTEM]\r\nFROM_DATE=2001/09/09 10:46:40\r\nTO_DATE=2001/09/09 10:46:41\r\n"
                              "TITLE=new\r\nSUBJECT=s\r\n";
    Store(CTime(1000000000), CTime(1000000001), "new", "s");
    for (const auto& c : cases) {
        for (const bool bExisted : {true, false}) {
            const std::string label = std::string(c.refused ? c.refused : "nothing") +
                                      (bExisted ? " refused, file there" : " refused, no file");
            ::DeleteFileA(m_ini.c_str());
            if (bExisted)
                WriteFileBytes(m_ini, old);
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

// Another program holding the file without sharing it for writing: the save fails and the file
// keeps its bytes.
TEST_F(SettingsStoreTest, ALockedFileFailsTheSaveAndStaysWhole) {
    const std::string old = "[SYSTEM]\r\nTITLE=old\r\n";
    WriteFileBytes(m_ini, old);
    const HANDLE hHolder = ::CreateFileA(m_ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hHolder, INVALID_HANDLE_VALUE);
    Store(CTime(1000000000), CTime(1000000001), "new", "s");
    EXPECT_FALSE(TestApp().SaveSettings());
    ::CloseHandle(hHolder);
    EXPECT_EQ(ReadFileBytes(m_ini), old);
    EXPECT_EQ(FilesIn(m_dir.Path()), std::vector<std::string>{"Kestrovin.ini"});
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
