// The settings file's text without the system: which bytes a key of a section reads as, and the
// new bytes when keys are set. A hand-edited file reads by the rules of Windows' profile files:
// lines end at CR LF, LF or CR; blanks (space, tab) around names, '=' and values do not count;
// names match without regard to ASCII case; the first section of a name and the first line of a
// key in it count; ';' starts a comment line; one pair of enclosing quotes is taken off a value.
#pragma once

#include <cstddef>
#include <string>

// How the text steps through characters. In code page 932 a lead byte and the trail byte after
// it are one character, so a trail byte such as ']' (0x5D) never counts as one. In UTF-8 every
// byte with a meaning in the file is ASCII and never part of a longer sequence.
enum class IniCharset { kCodePage932, kUtf8 };

// A file's bytes as text, and how to store it again. A byte-order mark (UTF-8, UTF-16LE or
// UTF-16BE) is kept; a file without one is UTF-8 where it is valid UTF-8 as a whole and holds a
// character of more than one byte (code page 932's common lead bytes 0x81-0x9F cannot start a
// UTF-8 character), and code page 932 otherwise. UTF-16 is held as UTF-8 with unpaired
// surrogates in their three-byte form, so that every file comes back byte for byte. A file
// without a mark that holds a NUL byte (UTF-16 without one) has no text the program can read:
// it reads as no values and is never rewritten.
struct IniText {
    enum Encoding { kPlain, kUtf8, kUtf8Bom, kUtf16LeBom, kUtf16BeBom, kNulBytes } encoding = kPlain;
    std::string text;
    std::string oddByte; // the last byte of a UTF-16 file of odd length
    IniCharset Charset() const {
        return encoding == kPlain || encoding == kNulBytes ? IniCharset::kCodePage932 : IniCharset::kUtf8;
    }
    bool Readable() const { return encoding != kNulBytes; }
};
IniText DecodeIniFile(const std::string& bytes);
std::string EncodeIniFile(const IniText& file);

// The value of pszKey in the first section named pszSection; false when the section or the key
// is missing, or the key's line has no '=' (the caller's default applies then).
bool ReadIniValue(const std::string& text, IniCharset charset, const char* pszSection, const char* pszKey,
                  std::string* pValue);

struct IniEntry {
    const char* pszKey;
    std::string value;
};
// The text with each key set: its first line in the first section pszSection keeps its bytes
// where it already reads as the value, and otherwise keeps everything up to the value (the key's
// spelling, the blanks around '='); a key the section lacks is added after the section's last
// key, a missing section at the end of the text. Every other byte stays. A value is quoted where
// the reader would alter it, and a line break inside a value becomes a blank, so that a value
// never adds a line of its own.
std::string WriteIniValues(const std::string& text, IniCharset charset, const char* pszSection,
                           const IniEntry* pEntries, std::size_t nCount);

// At most nMaxBytes of a code page 932 text, cut between two characters.
std::string CutText932(const std::string& text, std::size_t nMaxBytes);
