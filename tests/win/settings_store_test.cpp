// The settings store against the real profile functions.
#include <gtest/gtest.h>

#include <string>

#include "app/settings_text.h"
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

TEST_F(SettingsStoreTest, LoadingNeverWrites) {
    const std::string text = "[SYSTEM]\r\nTITLE=abc\r\n";
    WriteFileBytes(m_ini, text);
    TestApp().LoadSettings();
    EXPECT_EQ(ReadFileBytes(m_ini), text);
    EXPECT_EQ(std::string(TestApp().m_strTitle), "abc");
}

TEST_F(SettingsStoreTest, SavedValuesReadBackWhole) {
    std::string title;
    for (int i = 0; i < 30; ++i)
        title += "漢";
    ASSERT_EQ(title.size(), 60u);
    const struct {
        const char* title;
        const char* subject;
    } cases[] = {
        {title.c_str(), "件名"},
        {"", ""},
        {" leading and trailing ", "\"quoted\""},
        {"'single'", "x = y ; not a comment"},
    };
    for (const auto& c : cases) {
        Store(CTime(1000000000), CTime(1100000000), c.title, c.subject);
        ASSERT_TRUE(TestApp().SaveSettings());
        Store(CTime(0), CTime(0), "?", "?");
        TestApp().LoadSettings();
        const CTestApp& app = TestApp();
        EXPECT_EQ(app.m_timeFrom.GetTime(), 1000000000);
        EXPECT_EQ(app.m_timeTo.GetTime(), 1100000000);
        EXPECT_EQ(std::string(app.m_strTitle), c.title);
        EXPECT_EQ(std::string(app.m_strSubject), c.subject);
    }
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

TEST_F(SettingsStoreTest, MissingFolderReportsTheFailure) {
    SetProfilePath(m_dir.File("no such folder\\Kestrovin.ini"));
    Store(CTime(1000000000), CTime(1000000001), "new", "s");
    EXPECT_FALSE(TestApp().SaveSettings());
}

TEST_F(SettingsStoreTest, NoSettingsPathMeansDefaultsAndAFailedSave) {
    SetProfilePath("");
    TestApp().LoadSettings();
    EXPECT_EQ(std::string(TestApp().m_strTitle), kDefaultTitle);
    EXPECT_FALSE(TestApp().SaveSettings());
}

} // namespace
