// Stored date texts, read back in two time zones, and the rules of the settings file's text.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "app/settings_text.h"
#include "fw/afxini.h"
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
    {"2039/1/1", "2039-01-01 00:00:00"},
    {"2040/02/29 23:59:59", "2040-02-29 23:59:59"},
    {"2999/12/31 12:00:00", "2999-12-31 12:00:00"},
    {"3000/12/31 14:59:59", "3000-12-31 14:59:59"},
    {"3000/13/2", nullptr},
    {"3001/1/2", nullptr},
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
    for (const std::int64_t t :
         {std::int64_t{0}, std::int64_t{1}, std::int64_t{1048000000}, std::int64_t{1700000000},
          std::int64_t{2147483647}, std::int64_t{2147483648}, std::int64_t{2208988800}, CTime::kMaxTime}) {
        const CString text = FormatProfileTime(CTime(t));
        EXPECT_EQ(text.GetLength(), 19) << t;
        EXPECT_EQ(ParseProfileTime(text).GetTime(), t) << text.GetString();
    }
    EXPECT_EQ(std::string(FormatProfileTime(CTime(-1))), "");
    EXPECT_EQ(ParseProfileTime(FormatProfileTime(CTime(-1))).GetTime(), -1);
}

INSTANTIATE_TEST_SUITE_P(Zones, SettingsTextTest, ::testing::ValuesIn(kTestZones));

constexpr IniCharset k932 = IniCharset::kCodePage932;
constexpr IniCharset kUtf8 = IniCharset::kUtf8;

// What the settings file reads as, in section SYSTEM. "\x83\x5D" is "ゾ", whose trail byte is ']'.
TEST(IniTextTest, HandEditedFilesReadByTheProfileRules) {
    const struct {
        const char* text;
        const char* key;
        const char* value; // nullptr: the caller's default
        IniCharset charset;
    } cases[] = {
        {"[SYSTEM]\r\nTITLE=crlf\r\nSUBJECT=s\r\n", "TITLE", "crlf", k932},
        {"[SYSTEM]\nTITLE=lf\nSUBJECT=s\n", "TITLE", "lf", k932},
        {"[SYSTEM]\rTITLE=cr\rSUBJECT=s", "TITLE", "cr", k932},
        {"[SYSTEM]\rTITLE=cr\rSUBJECT=s", "SUBJECT", "s", k932},
        {" \t[ SYSTEM ] ; note\r\n \tTITLE \t= \t a \t b \t\r\n", "TITLE", "a \t b", k932},
        {"[SYSTEM]\r\nTITLE=\x81\x40wide\x81\x40\r\n", "TITLE", "\x81\x40wide\x81\x40", k932},
        {"[system]\r\ntitle=case\r\n", "TITLE", "case", k932},
        {"[SYSTEM]\r\nTITLE=first\r\nTITLE=second\r\n", "TITLE", "first", k932},
        {"[SYSTEM]\r\nA=1\r\n[SYSTEM]\r\nTITLE=second section\r\n", "TITLE", nullptr, k932},
        {"TITLE=before any section\r\n[SYSTEM]\r\n", "TITLE", nullptr, k932},
        {"[other]\r\nTITLE=other\r\n", "TITLE", nullptr, k932},
        {"[SYSTEM]\r\n;TITLE=comment\r\n", "TITLE", nullptr, k932},
        {"[SYSTEM]\r\n  ; TITLE=comment\r\nTITLE=t ; kept\r\n", "TITLE", "t ; kept", k932},
        {"[SYSTEM]\r\nTITLE\r\nTITLE=after a bare key\r\n", "TITLE", nullptr, k932},
        {"[SYSTEM]\r\nTITLE=\r\n", "TITLE", "", k932},
        {"[SYSTEM]\r\nTITLE= \" both \" \r\n", "TITLE", " both ", k932},
        {"[SYSTEM]\r\nTITLE='single'\r\n", "TITLE", "single", k932},
        {"[SYSTEM]\r\nTITLE=\"\"twice\"\"\r\n", "TITLE", "\"twice\"", k932},
        {"[SYSTEM]\r\nTITLE=\"mixed'\r\n", "TITLE", "\"mixed'", k932},
        {"[SYSTEM]\r\nTITLE=\"\r\n", "TITLE", "\"", k932},
        {"[SYSTEM]\r\nTITLE=a=b\r\n", "TITLE", "a=b", k932},
        // A line that only seems to open a section: its ']' is the trail byte of a character.
        {"[SYSTEM]\r\n[\x83\x5D\r\nTITLE=still SYSTEM\r\n", "TITLE", "still SYSTEM", k932},
        {"[\x83\x5D]\r\nTITLE=x\r\n", "TITLE", nullptr, k932},
        {"[SYSTEM]\r\nTITLE=\"\x83\"\r\n", "TITLE", "\x83", k932},
        {"[SYSTEM]\r\nTITLE=x\x83 \r\n", "TITLE", "x\x83", k932},
        // The same bytes in UTF-8 are "[ぁ]": a section of its own that ends SYSTEM.
        {"[SYSTEM]\r\n[\xE3\x81\x81]\r\nTITLE=x\r\n", "TITLE", "x", k932},
        {"[SYSTEM]\r\n[\xE3\x81\x81]\r\nTITLE=x\r\n", "TITLE", nullptr, kUtf8},
    };
    for (const auto& c : cases) {
        std::string value = "(default)";
        const bool bFound = ReadIniValue(c.text, c.charset, "SYSTEM", c.key, &value);
        EXPECT_EQ(bFound, c.value != nullptr) << c.text;
        EXPECT_EQ(value, c.value ? c.value : "(default)") << c.text;
    }
}

const IniEntry kEntries[] = {{"FROM_DATE", "F"}, {"TO_DATE", "T"}, {"TITLE", "ti"}, {"SUBJECT", "su"}};

std::string Write(const std::string& text, IniCharset charset = k932) {
    return WriteIniValues(text, charset, "SYSTEM", kEntries, std::size(kEntries));
}

// Only the four keys' lines change; missing keys follow the section's last key, a missing
// section goes at the end, and new lines end as the file's lines do.
TEST(IniTextTest, WritingChangesOnlyTheKeysLines) {
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"", "[SYSTEM]\r\nFROM_DATE=F\r\nTO_DATE=T\r\nTITLE=ti\r\nSUBJECT=su\r\n"},
        {"; c\n[a]\nx = 1\n\n[system]\n TITLE = old ; x\nEXTRA=2\n\n; next\n[b]\ny=2",
         "; c\n[a]\nx = 1\n\n[system]\n TITLE = ti\nEXTRA=2\nFROM_DATE=F\nTO_DATE=T\nSUBJECT=su\n\n; "
         "next\n[b]\ny=2"},
        {"[a]\rx=1", "[a]\rx=1\r[SYSTEM]\rFROM_DATE=F\rTO_DATE=T\rTITLE=ti\rSUBJECT=su\r"},
        {"[SYSTEM]", "[SYSTEM]\r\nFROM_DATE=F\r\nTO_DATE=T\r\nTITLE=ti\r\nSUBJECT=su\r\n"},
        {"[SYSTEM]\nSUBJECT=1\r\ntitle=2\rTO_DATE=3\r\nfrom_date\r\nTITLE=dup\r\n[SYSTEM]\r\nTITLE="
         "second\r\n",
         "[SYSTEM]\nSUBJECT=su\r\ntitle=ti\rTO_DATE=T\r\nfrom_date=F\r\nTITLE=dup\r\n[SYSTEM]\r\nTITLE="
         "second\r\n"},
        {"[SYSTEM]\r\n[\x83\x5D\r\nTITLE=old",
         "[SYSTEM]\r\n[\x83\x5D\r\nTITLE=ti\r\nFROM_DATE=F\r\nTO_DATE=T\r\nSUBJECT=su\r\n"},
        // A line that reads as its value already stays byte for byte; a changed one keeps its
        // spelling and blanks up to the value.
        {"[SYSTEM]\r\n  title  = \"ti\" \r\nFrom_Date\t=\tF\r\n to_date = 'old' \r\nSUBJECT =su\r\n",
         "[SYSTEM]\r\n  title  = \"ti\" \r\nFrom_Date\t=\tF\r\n to_date = T\r\nSUBJECT =su\r\n"},
        {"[SYSTEM]\nTITLE=\nSUBJECT= \" su\"\nFROM_DATE=\"F\nTO_DATE= T ; x",
         "[SYSTEM]\nTITLE=ti\nSUBJECT= su\nFROM_DATE=F\nTO_DATE= T"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Write(c.before), c.after) << c.before;
    // In UTF-8 the line "[ぁ]" ends the section, so the keys go before it.
    EXPECT_EQ(
        Write("[SYSTEM]\r\n[\xE3\x81\x81]\r\nTITLE=x\r\n", kUtf8),
        "[SYSTEM]\r\nFROM_DATE=F\r\nTO_DATE=T\r\nTITLE=ti\r\nSUBJECT=su\r\n[\xE3\x81\x81]\r\nTITLE=x\r\n");
}

// A value is quoted where the reader would alter it, and reads back as it was; a line break
// becomes a blank, so that no value adds a line.
TEST(IniTextTest, WrittenValuesReadBack) {
    const struct {
        const char* value;
        const char* line;
        const char* reads; // nullptr: the value itself
    } cases[] = {
        {"", "TITLE=", nullptr},
        {"○×ソフト株式会社 納期", "TITLE=○×ソフト株式会社 納期", nullptr},
        {" lead", "TITLE=\" lead\"", nullptr},
        {"trail\t", "TITLE=\"trail\t\"", nullptr},
        {"\x81\x40wide\x81\x40", "TITLE=\x81\x40wide\x81\x40", nullptr},
        {"\"quoted\"", "TITLE=\"\"quoted\"\"", nullptr},
        {"'single'", "TITLE=\"'single'\"", nullptr},
        {"\"open", "TITLE=\"open", nullptr},
        {"\"", "TITLE=\"", nullptr},
        {"\"\x83\"", "TITLE=\"\"\x83\"\"", nullptr},
        {" x\x83", "TITLE=\" x\x83\"", nullptr},
        {"a\r\nb\rc\nd", "TITLE=a b c d", "a b c d"},
        {"a\n", "TITLE=\"a \"", "a "},
    };
    for (const auto& c : cases) {
        const IniEntry entry{"TITLE", c.value};
        const std::string text = WriteIniValues("", k932, "SYSTEM", &entry, 1);
        EXPECT_EQ(text, std::string("[SYSTEM]\r\n") + c.line + "\r\n") << c.value;
        std::string value;
        EXPECT_TRUE(ReadIniValue(text, k932, "SYSTEM", "TITLE", &value));
        EXPECT_EQ(value, c.reads ? c.reads : c.value);
    }
}

// Which encoding a file is read in: its text as UTF-8 (code page 932 for a plain file), and the
// same bytes again. "\x82\xA0" is "あ" in code page 932, "\xE3\x81\x82" in UTF-8.
TEST(IniTextTest, EncodingsComeBackByteForByte) {
    using namespace std::string_literals;
    const struct {
        std::string bytes;
        IniText::Encoding encoding;
        std::string text;
    } cases[] = {
        {"[SYSTEM]\r\n", IniText::kPlain, "[SYSTEM]\r\n"},
        {"\xEF\xBB\xBF[S]", IniText::kUtf8Bom, "[S]"},
        {"\xFF\xFE[\0\x42\x30]\0"s, IniText::kUtf16LeBom, "[\xE3\x81\x82]"},     // あ
        {"\xFF\xFE\x3D\xD8\x00\xDE"s, IniText::kUtf16LeBom, "\xF0\x9F\x98\x80"}, // a pair
        {"\xFF\xFE\x00\xD8\x41\0"s, IniText::kUtf16LeBom, "\xED\xA0\x80\x41"},   // a lone surrogate
        {"\xFF\xFE\x41\0\x7F"s, IniText::kUtf16LeBom, "A"},                      // an odd byte
        {"\xFE\xFF\0[\x30\x42\0]"s, IniText::kUtf16BeBom, "[\xE3\x81\x82]"},
        {"\xFE\xFF\xD8\x3D\xDE\x00"s, IniText::kUtf16BeBom, "\xF0\x9F\x98\x80"},
        {"\xFE\xFF\xD8\x00\0\x41"s, IniText::kUtf16BeBom, "\xED\xA0\x80\x41"},
        {"\xFE\xFF\0\x41\x7F"s, IniText::kUtf16BeBom, "A"},
        {"TITLE=\xE3\x81\x82\xF0\x9F\x98\x80", IniText::kUtf8, "TITLE=\xE3\x81\x82\xF0\x9F\x98\x80"},
        {"TITLE=\x82\xA0", IniText::kPlain, "TITLE=\x82\xA0"},
        {"TITLE=ascii", IniText::kPlain, "TITLE=ascii"},
        {"TITLE=\xE3\x81\x82\x82\xA0", IniText::kPlain, "TITLE=\xE3\x81\x82\x82\xA0"}, // both
        {"TITLE=\xED\xA0\x80", IniText::kPlain, "TITLE=\xED\xA0\x80"},                 // a surrogate
        {"TITLE=\xC0\xAF", IniText::kPlain, "TITLE=\xC0\xAF"},                         // overlong '/'
        {"TITLE=\xE3\x81", IniText::kPlain, "TITLE=\xE3\x81"},                         // cut short
        {"[\0S\0]\0"s, IniText::kNulBytes, "[\0S\0]\0"s},                              // UTF-16 unmarked
        {"\0[\0\x30\x42"s, IniText::kNulBytes, "\0[\0\x30\x42"s},
    };
    for (const auto& c : cases) {
        const IniText file = DecodeIniFile(c.bytes);
        EXPECT_EQ(file.encoding, c.encoding) << c.text;
        EXPECT_EQ(file.text, c.text);
        EXPECT_EQ(EncodeIniFile(file), c.bytes);
        EXPECT_EQ(file.Readable(), c.encoding != IniText::kNulBytes) << c.text;
    }
}

TEST(IniTextTest, LongValuesAreCutBetweenCharacters) {
    const struct {
        const char* text;
        std::size_t max;
        const char* cut;
    } cases[] = {
        {"漢漢漢", 5, "漢漢"}, {"a漢", 2, "a"},   {"ab\x81", 3, "ab\x81"},
        {"\x81 x", 1, "\x81"}, {"abc", 9, "abc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CutText932(c.text, c.max), c.cut) << c.text;
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
