// Stored date texts and stored values, read back in two time zones.
#include <gtest/gtest.h>

#include <string>

#include "app/settings_text.h"
#include "time_zone.h"

namespace {

std::string Local(CTime t) {
    return std::string(t.Format("%Y-%m-%d %H:%M:%S"));
}

const struct {
    const char* stored;
    const char* expected; // local time, or nullptr for the invalid time
} kReadings[] = {
    {"2003/03/19 18:30:00", "2003-03-19 18:30:00"},
    {"2003/3/19 9:5:7", "2003-03-19 09:05:07"},
    {"2003/3/19", "2003-03-19 00:00:00"},
    {"2003/3/19 24:00:00", "2003-03-20 00:00:00"},
    {"2003/13/1 0:0:0", "2004-01-01 00:00:00"},
    {"2003/2/30", "2003-03-02 00:00:00"},
    {"2003/3/0", "2003-02-28 00:00:00"},
    {"2003-03-19", "2002-11-30 00:00:00"},
    {"2003/03/19 18:30:00 extra", "2003-03-19 18:30:00"},
    {"  2003 / 3/19", "2002-11-30 00:00:00"},        // '/' must follow the number at once
    {" 2003/ 3/ 19  18: 30", "2003-03-19 18:30:00"}, // numbers skip blanks before them
    {"2003/3/1918:30:00", "2008-05-30 00:00:00"},    // day 1918 of March, then the blank-less ':' ends
    {"2003/3/19\t18:30:00", "2003-03-19 18:30:00"},
    {"2003/-1/1", "2002-11-01 00:00:00"},
    {"2003/3/19 -1:0:0", "2003-03-18 23:00:00"},
    {"", nullptr},
    {"letters", nullptr},
    {"1965/1/1", nullptr},
    {"2039/1/1", nullptr},
    {"99999999999999/1/1", nullptr},
    {"2003/99999999999999/1", nullptr},
};

class SettingsTextTest : public ::testing::TestWithParam<const char*> {};

TEST_P(SettingsTextTest, ReadingsOfStoredDates) {
    ScopedTimeZone zone(GetParam());
    for (const auto& r : kReadings) {
        const CTime t = ParseProfileTime(r.stored);
        if (!r.expected) {
            EXPECT_EQ(t.GetTime(), -1) << "'" << r.stored << "' gave " << Local(t);
        } else {
            EXPECT_EQ(Local(t), r.expected) << "'" << r.stored << "'";
        }
    }
    EXPECT_EQ(ParseProfileTime(nullptr).GetTime(), -1);
}

TEST_P(SettingsTextTest, SavedValuesReadBackToTheSecond) {
    ScopedTimeZone zone(GetParam());
    for (const std::int32_t t : {0, 1, 1048000000, 1700000000, 2147483647}) {
        const CString text = FormatProfileTime(CTime(t));
        EXPECT_EQ(text.GetLength(), 19) << t;
        EXPECT_EQ(ParseProfileTime(text).GetTime(), t) << text.GetString();
    }
    EXPECT_EQ(std::string(FormatProfileTime(CTime(-1))), "");
    EXPECT_EQ(ParseProfileTime(FormatProfileTime(CTime(-1))).GetTime(), -1);
}

INSTANTIATE_TEST_SUITE_P(Zones, SettingsTextTest, ::testing::ValuesIn(kTestZones));

TEST(QuoteProfileValueTest, OnlyValuesTheReaderWouldAlter) {
    const struct {
        const char* value;
        const char* written;
    } cases[] = {
        {"", ""},
        {"○×ソフト株式会社 納期", "○×ソフト株式会社 納期"},
        {"a b", "a b"},
        {" lead", "\" lead\""},
        {"trail ", "\"trail \""},
        {"\"quoted\"", "\"\"quoted\"\""},
        {"'single'", "\"'single'\""},
        {"\"open", "\"open"},
        {"\"", "\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(QuoteProfileValue(c.value)), c.written) << "'" << c.value << "'";
}

// Stored texts are cut between characters by code page 932's own lead bytes, on any system: the
// edges of both ranges, and the single-byte katakana between them.
TEST(LeadByteTest, TheTwoRangesOfCodePage932) {
    const struct {
        unsigned char ch;
        bool lead;
    } cases[] = {{'A', false},  {0x80, false}, {0x81, true}, {0x9F, true},  {0xA0, false},
                 {0xDF, false}, {0xE0, true},  {0xFC, true}, {0xFD, false}, {0xFF, false}};
    for (const auto& c : cases)
        EXPECT_EQ(AfxIsLeadByte(c.ch), c.lead) << int{c.ch};
    EXPECT_TRUE(AfxIsLeadByte(static_cast<unsigned char>("残"[0])));
    EXPECT_FALSE(AfxIsLeadByte(static_cast<unsigned char>("ｱ"[0])));
}

} // namespace
