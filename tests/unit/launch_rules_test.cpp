// The command-line switches, the preview host's handle and the settings path rule.
#include <gtest/gtest.h>

#include <string>

#include "app/launch_rules.h"
#include "cp932.h"
#include "fw/afxpath.h"

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

TEST(MakeProfilePathTest, BesideTheProgramWithIniExtension) {
    const struct {
        const char* program;
        const char* expected;
    } cases[] = {
        {"C:\\WINDOWS\\SYSTEM\\Kestrovin.scr", "C:\\WINDOWS\\SYSTEM\\Kestrovin.ini"},
        {"D:\\Tools\\count.down.scr", "D:\\Tools\\count.down.ini"},
        {"C:\\Savers\\Kestrovin.scr", "C:\\Savers\\Kestrovin.ini"},
        {"C:\\my.dir\\prog", "C:\\my.dir\\prog.ini"},
        {"C:/mixed/sep.scr", "C:/mixed/sep.ini"},
        {"prog.scr", "prog.ini"},
        {"\\\\server\\share\\k.scr", "\\\\server\\share\\k.ini"},
        // 0x83 0x5C is one character (katakana so) whose trail byte is a backslash.
        {"C:\\\x83\x5C\x83\x74\x83\x67\\k.scr", "C:\\\x83\x5C\x83\x74\x83\x67\\k.ini"},
        {"C:\\dir\\\x95\x5C.scr", "C:\\dir\\\x95\x5C.ini"},
        {"C:\\dir\\\x95\x5C", "C:\\dir\\\x95\x5C.ini"},
        // After the last dot such a character is part of the extension, not a separator.
        {"C:\\dir\\k.\x95\x5C", "C:\\dir\\k.ini"},
        {"C:\\dir.\x83\x5C\\k", "C:\\dir.\x83\x5C\\k.ini"},
    };
    for (const auto& c : cases) {
        char out[260];
        ASSERT_TRUE(MakeProfilePath(c.program, out, sizeof out, IsLeadByte932)) << c.program;
        EXPECT_EQ(std::string(out), c.expected) << c.program;
    }
}

TEST(MakeProfilePathTest, NeverOverrunsTheBlock) {
    // "C:\" + name + ".s": the settings path is one character longer than the program path.
    const std::string dir = "C:\\";
    const std::string fits = dir + std::string(259 - dir.size() - 4, 'a') + ".s"; // gives 259 characters
    const std::string over = dir + std::string(260 - dir.size() - 4, 'a') + ".s"; // gives 260 characters
    char out[260];
    ASSERT_TRUE(MakeProfilePath(fits.c_str(), out, sizeof out, IsLeadByte932));
    EXPECT_EQ(std::string(out).size(), 259u);
    EXPECT_FALSE(MakeProfilePath(over.c_str(), out, sizeof out, IsLeadByte932));
    EXPECT_EQ(std::string(out), "");
}

TEST(SplitPathTest, PartsAtCharacterBoundaries) {
    const struct {
        const char* path;
        const char* drive;
        const char* dir;
        const char* fname;
        const char* ext;
    } cases[] = {
        {"C:\\\x83\x5C\\name.ext.scr", "C:", "\\\x83\x5C\\", "name.ext", ".scr"},
        // 0x95 0x5C after the last dot: read byte by byte it would end the directory there.
        {"C:\\dir\\k.\x95\x5C", "C:", "\\dir\\", "k", ".\x95\x5C"},
        {"C:\\dir\\\x95\x5C", "C:", "\\dir\\", "\x95\x5C", ""},
        // A lead byte followed by ':' is no drive.
        {"\x83:\\k.scr", "", "\x83:\\", "k", ".scr"},
    };
    for (const auto& c : cases) {
        const PathParts p = SplitPath(c.path, IsLeadByte932);
        EXPECT_EQ(p.drive, c.drive) << c.path;
        EXPECT_EQ(p.dir, c.dir) << c.path;
        EXPECT_EQ(p.fname, c.fname) << c.path;
        EXPECT_EQ(p.ext, c.ext) << c.path;
    }
}

} // namespace
