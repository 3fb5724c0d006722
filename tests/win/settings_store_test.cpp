// The settings store against the real profile functions.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/settings_text.h"
#include "unit/cp932.h"
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

TEST_F(SettingsStoreTest, SaveKeepsOtherLines) {
    WriteFileBytes(m_ini, "[first]\r\nkeep=1\r\n[SYSTEM]\r\nTITLE=old\r\nEXTRA=2\r\n");
    Store(CTime(1000000000), CTime(1000000001), "new", "s");
    ASSERT_TRUE(TestApp().SaveSettings());
    const std::string text = ReadFileBytes(m_ini);
    EXPECT_NE(text.find("keep=1"), std::string::npos);
    EXPECT_NE(text.find("EXTRA=2"), std::string::npos);
    EXPECT_NE(text.find("TITLE=new"), std::string::npos);
    EXPECT_EQ(text.find("old"), std::string::npos);
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
            const std::size_t next = i + (IsLeadByte932(static_cast<unsigned char>(text[i])) ? 2 : 1);
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

// The text as code page 932 gives it back from Unicode. Some characters have two encodings (the
// NEC-selected IBM extensions in rows 0xED and 0xEE, and NEC's row 13 beside JIS X 0208) and
// come back in the one the code page prefers.
std::string ThroughUnicode(const std::string& text) {
    if (text.empty())
        return text;
    wchar_t wide[128];
    const int n = ::MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), wide, 128);
    char back[256];
    const int m = ::WideCharToMultiByte(932, 0, wide, n, back, sizeof back, nullptr, nullptr);
    return std::string(back, static_cast<std::size_t>(m));
}

TEST_F(SettingsStoreTest, GeneratedTitlesAndSubjectsComeBackByteForByte) {
    constexpr std::uint32_t kSeed = 20261208;
    constexpr int kPairs = 2000;
    std::printf("round trip of %d title and subject pairs, seed %u\n", kPairs, kSeed);
    CTextGenerator generator(kSeed);
    int failures = 0, twoEncodings = 0;
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
            // The profile functions store Unicode: a character of two encodings comes back in
            // the preferred one; every other byte comes back as saved.
            const std::string expected = ThroughUnicode(saved);
            twoEncodings += expected != saved;
            if (loaded != expected && ++failures <= 10)
                ADD_FAILURE() << "pair " << i << ": saved [" << Hex(saved) << "] read back [" << Hex(loaded)
                              << "]";
        }
    }
    std::printf("%d texts held a character of two encodings\n", twoEncodings);
    EXPECT_EQ(failures, 0) << "texts that did not come back (seed " << kSeed << ")";
}

} // namespace
