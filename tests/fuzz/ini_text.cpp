// The settings file's rules on any file and any four values: the file's bytes come back through
// their encoding; the four values read back as written (a line break as a blank); other keys
// read as before; writing the same values again changes nothing; and a file in UTF-8 or UTF-16
// (with a mark or, for UTF-8, without) keeps its encoding and text through a save of values that
// encoding can hold.
#include <algorithm>
#include <iterator>

#include "fw/afxini.h"
#include "property.h"

namespace {

std::string Read(const std::string& text, IniCharset charset, const char* pszSection, const char* pszKey) {
    std::string value;
    return ReadIniValue(text, charset, pszSection, pszKey, &value) ? "=" + value : "(missing)";
}

std::string OneLine(const std::string& value) {
    std::string line;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
            continue;
        line += value[i] == '\r' || value[i] == '\n' ? ' ' : value[i];
    }
    return line;
}

// A text as UTF-16 holds it: bytes that are no UTF-8 become U+FFFD.
std::string ThroughUtf16(const std::string& text) {
    IniText file;
    file.encoding = IniText::kUtf16LeBom;
    file.text = text;
    return DecodeIniFile(EncodeIniFile(file)).text;
}

// A surrogate in its three-byte form, which UTF-16 can hold alone but UTF-8 cannot.
bool HasSurrogate(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) == 0xED && static_cast<unsigned char>(text[i + 1]) >= 0xA0)
            return true;
    }
    return false;
}

} // namespace

// The input: the file's bytes, then up to four values, each after the bytes FF FF (which no
// code page 932 text holds and UTF-16 seldom does; NUL would cut every UTF-16 file short).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string parts[5];
    std::size_t start = 0;
    for (int part = 0; part < 5; ++part) {
        const std::size_t end =
            part < 4 ? std::min(input.find("\xFF\xFF", start), input.size()) : input.size();
        parts[part] = input.substr(start, end - start);
        start = std::min(end + 2, input.size());
    }
    // A value is a C string in the program.
    for (int part = 1; part < 5; ++part)
        parts[part] = parts[part].substr(0, parts[part].find('\0'));
    const IniText file = DecodeIniFile(parts[0]);
    Require(EncodeIniFile(file) == parts[0], "a file's bytes come back through its encoding");

    IniEntry entries[] = {
        {"FROM_DATE", parts[1]}, {"TO_DATE", parts[2]}, {"TITLE", parts[3]}, {"SUBJECT", parts[4]}};
    for (const IniCharset charset : {IniCharset::kCodePage932, IniCharset::kUtf8}) {
        const std::string written = WriteIniValues(file.text, charset, "SYSTEM", entries, std::size(entries));
        for (const IniEntry& entry : entries)
            Require(Read(written, charset, "SYSTEM", entry.pszKey) == "=" + OneLine(entry.value),
                    "a written value reads back");
        Require(Read(written, charset, "SYSTEM", "OTHER") == Read(file.text, charset, "SYSTEM", "OTHER"),
                "another key of the section reads as before");
        Require(Read(written, charset, "A", "K") == Read(file.text, charset, "A", "K"),
                "a key of another section reads as before");
        Require(WriteIniValues(written, charset, "SYSTEM", entries, std::size(entries)) == written,
                "writing the same values again changes nothing");
    }

    if (file.encoding == IniText::kPlain || file.encoding == IniText::kNulBytes)
        return 0;
    IniEntry held[std::size(entries)];
    bool bSurrogate = false;
    for (std::size_t e = 0; e < std::size(entries); ++e) {
        held[e] = {entries[e].pszKey, ThroughUtf16(entries[e].value)};
        bSurrogate = bSurrogate || HasSurrogate(held[e].value);
    }
    if (file.encoding == IniText::kUtf8 && bSurrogate)
        return 0;
    IniText saved = file;
    saved.text = WriteIniValues(file.text, file.Charset(), "SYSTEM", held, std::size(held));
    const IniText again = DecodeIniFile(EncodeIniFile(saved));
    // An unmarked file whose every character of more than one byte was in a value now changed is
    // plain ASCII, the same text in either charset.
    const bool bAscii = std::all_of(again.text.begin(), again.text.end(),
                                    [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
    Require(again.encoding == file.encoding || (file.encoding == IniText::kUtf8 && bAscii),
            "a saved file keeps its encoding");
    Require(again.text == saved.text, "a saved file's text comes back through its encoding");
    return 0;
}
