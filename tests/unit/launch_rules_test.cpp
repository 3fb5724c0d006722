// The command-line switches, the preview host's handle and the settings path rule.
#include <gtest/gtest.h>

#include <string>

#include "app/launch_rules.h"

namespace {

struct SwitchCase {
    const char* argument;
    const char* matches; // the letter it selects, or "" for none
};

const SwitchCase kSwitches[] = {
    {"/c", "c"},      {"-c", "c"},    {"c", "c"},  {"/C", "c"},      {"/c:1234", "c"},
    {"/config", "c"}, {"/C:77", "c"}, {"/p", "p"}, {"-P", "p"},      {"/preview", "p"},
    {"/s", "s"},      {"-s", "s"},    {"S", "s"},  {"/save", "s"},   {"/screen", "s"},
    {"-S", "s"},      {"/a", "a"},    {"/x", "x"}, {"-", ""},        {"/", ""},
    {"--s", ""},      {"//s", ""},    {"", ""},    {"\x83\x5C", ""}, {" /s", ""},
};

TEST(MatchSwitchTest, FirstLetterAfterOnePrefixIgnoringCase) {
    for (const SwitchCase& c : kSwitches) {
        for (const char* letter : {"c", "p", "s"}) {
            const bool expected = std::string(c.matches) == letter;
            EXPECT_EQ(MatchSwitch(c.argument, letter), expected) << "'" << c.argument << "' vs " << letter;
            const char upper[2] = {static_cast<char>(letter[0] - 'a' + 'A'), 0};
            EXPECT_EQ(MatchSwitch(c.argument, upper), expected) << "'" << c.argument << "' vs " << upper;
        }
    }
    EXPECT_FALSE(MatchSwitch(nullptr, "s"));
}

TEST(ParseHostHandleTest, ReadsLikeAtol) {
    const struct {
        const char* text;
        std::uint32_t expected;
    } cases[] = {
        {"1234", 1234},
        {"  1234", 1234},
        {"\t+77", 77},
        {"1234xyz", 1234},
        {"abc", 0},
        {"", 0},
        {"0", 0},
        {"-1", 0xFFFFFFFFu},
        {"4294967295", 0xFFFFFFFFu},
        {"+", 0},
        {"2147483648", 0x80000000u},
        {"99999999999999999999", 0x630FFFFFu},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseHostHandle(c.text), c.expected) << c.text;
    EXPECT_EQ(ParseHostHandle(nullptr), 0u);
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (const wchar_t ch : text)
        out += ch < 0x80 ? static_cast<char>(ch) : '?';
    return out;
}

// A null expectation: the path names no program, and no settings path is made.
TEST(MakeProfilePathTest, BesideTheProgramWithIniExtension) {
    const struct {
        const wchar_t* program;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\WINDOWS\\SYSTEM\\Kestrovin.scr", L"C:\\WINDOWS\\SYSTEM\\Kestrovin.ini"},
        {L"D:\\Tools\\count.down.scr", L"D:\\Tools\\count.down.ini"},
        {L"C:\\Savers\\Kestrovin.scr", L"C:\\Savers\\Kestrovin.ini"},
        {L"C:\\my.dir\\prog", L"C:\\my.dir\\prog.ini"},
        {L"C:/mixed/sep.scr", L"C:/mixed/sep.ini"},
        {L"prog.scr", L"prog.ini"},
        {L"C:prog.scr", L"C:prog.ini"},
        {L"\\\\server\\share\\k.scr", L"\\\\server\\share\\k.ini"},
        // Folders named in any script: ソ is 0x83 0x5C in code page 932, whose second byte is '\\'.
        {L"C:\\ソフト\\k.scr", L"C:\\ソフト\\k.ini"},
        {L"C:\\odd-한글 Ŵörk\\Kestrovin.scr", L"C:\\odd-한글 Ŵörk\\Kestrovin.ini"},
        {L"C:\\dir\\.scr", L"C:\\dir\\.ini"},
        {L"", nullptr},
        {L"C:", nullptr},
        {L"C:\\Savers\\", nullptr},
        {L"\\\\server\\share/", nullptr},
    };
    for (const auto& c : cases) {
        wchar_t out[260] = L"stale";
        EXPECT_EQ(MakeProfilePath(c.program, out, 260), c.expected != nullptr) << Narrow(c.program);
        EXPECT_EQ(std::wstring(out), c.expected ? c.expected : L"") << Narrow(c.program);
    }
}

TEST(MakeProfilePathTest, NeverOverrunsTheBlock) {
    // "C:\\" + name + ".s": the settings path is one character longer than the program path.
    const std::wstring dir = L"C:\\";
    const std::wstring fits = dir + std::wstring(259 - dir.size() - 4, L'a') + L".s"; // gives 259 characters
    const std::wstring over = dir + std::wstring(260 - dir.size() - 4, L'a') + L".s"; // gives 260 characters
    wchar_t out[260];
    ASSERT_TRUE(MakeProfilePath(fits.c_str(), out, 260));
    EXPECT_EQ(std::wstring(out).size(), 259u);
    EXPECT_FALSE(MakeProfilePath(over.c_str(), out, 260));
    EXPECT_EQ(std::wstring(out), L"");
}

} // namespace
