// The settings file's rules on any file and any four values: the file's bytes come back through
// their encoding; the four values read back as written (a line break as a blank); other keys
// read as before; and writing the same values again changes nothing.
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
    return 0;
}
