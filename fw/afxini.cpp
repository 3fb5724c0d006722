// The settings file's text: byte-order marks, lines, sections and keys.
#include "fw/afxini.h"

#include <cstdint>
#include <vector>

#include "fw/afxcodepage.h"

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

char FoldCase(char ch) {
    return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
}

// Where the character at i of [.., end) ends.
std::size_t Step(const std::string& s, std::size_t i, std::size_t end, IniCharset charset) {
    if (charset == IniCharset::kCodePage932 && i + 1 < end &&
        AfxIsLeadByte(static_cast<unsigned char>(s[i])) &&
        AfxIsTrailByte(static_cast<unsigned char>(s[i + 1])))
        return i + 2;
    return i + 1;
}

// The first single-byte character ch in [begin, end), or end.
std::size_t Find(const std::string& s, std::size_t begin, std::size_t end, char ch, IniCharset charset) {
    for (std::size_t i = begin; i < end;) {
        const std::size_t next = Step(s, i, end, charset);
        if (next == i + 1 && s[i] == ch)
            return i;
        i = next;
    }
    return end;
}

std::size_t SkipBlanks(const std::string& s, std::size_t begin, std::size_t end) {
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    return begin;
}

// The end of [begin, end) without its trailing blanks; a blank byte inside a character stays.
std::size_t TrimEnd(const std::string& s, std::size_t begin, std::size_t end, IniCharset charset) {
    std::size_t last = begin;
    for (std::size_t i = begin; i < end;) {
        const std::size_t next = Step(s, i, end, charset);
        if (next != i + 1 || !IsBlank(s[i]))
            last = next;
        i = next;
    }
    return last;
}

// Takes one pair of matching enclosing quotes off a trimmed value.
void Unquote(const std::string& s, std::size_t* pBegin, std::size_t* pEnd, IniCharset charset) {
    const std::size_t begin = *pBegin, end = *pEnd;
    if (end - begin < 2 || (s[begin] != '"' && s[begin] != '\''))
        return;
    std::size_t lastStart = begin;
    for (std::size_t i = begin; i < end; i = Step(s, i, end, charset))
        lastStart = i;
    if (lastStart > begin && lastStart + 1 == end && s[lastStart] == s[begin]) {
        *pBegin = begin + 1;
        *pEnd = lastStart;
    }
}

bool NameIs(const std::string& s, std::size_t begin, std::size_t end, const char* pszName,
            IniCharset charset) {
    std::size_t j = 0;
    for (std::size_t i = begin; i < end;) {
        const std::size_t next = Step(s, i, end, charset);
        for (std::size_t k = i; k < next; ++k, ++j) {
            if (!pszName[j])
                return false;
            const bool bSame = next == i + 1 ? FoldCase(s[k]) == FoldCase(pszName[j]) : s[k] == pszName[j];
            if (!bSame)
                return false;
        }
        i = next;
    }
    return !pszName[j];
}

struct IniLine {
    enum Kind { kOther, kSection, kKey } kind = kOther;
    std::size_t start = 0, end = 0, next = 0; // the line, where its line break starts, the next line
    std::size_t nameBegin = 0, nameEnd = 0;   // the section's or the key's name
    bool bHasValue = false;
    std::size_t rawValueBegin = 0;            // after '=' and the blanks that follow it
    std::size_t valueBegin = 0, valueEnd = 0; // trimmed and unquoted
};

IniLine ParseLine(const std::string& s, std::size_t start, std::size_t end, IniCharset charset) {
    IniLine line;
    line.start = start;
    line.end = end;
    const std::size_t begin = SkipBlanks(s, start, end);
    if (begin == end || s[begin] == ';')
        return line;
    if (s[begin] == '[') {
        const std::size_t close = Find(s, begin + 1, end, ']', charset);
        if (close < end) {
            line.kind = IniLine::kSection;
            line.nameBegin = SkipBlanks(s, begin + 1, close);
            line.nameEnd = TrimEnd(s, line.nameBegin, close, charset);
            return line;
        }
    }
    line.kind = IniLine::kKey;
    const std::size_t equals = Find(s, begin, end, '=', charset);
    line.nameBegin = begin;
    line.nameEnd = TrimEnd(s, begin, equals, charset);
    if (equals < end) {
        line.bHasValue = true;
        line.rawValueBegin = line.valueBegin = SkipBlanks(s, equals + 1, end);
        line.valueEnd = TrimEnd(s, line.valueBegin, end, charset);
        Unquote(s, &line.valueBegin, &line.valueEnd, charset);
    }
    return line;
}

// CR and LF are never part of a character in either charset.
std::vector<IniLine> ParseLines(const std::string& s, IniCharset charset) {
    std::vector<IniLine> lines;
    for (std::size_t start = 0; start < s.size();) {
        std::size_t end = s.find_first_of("\r\n", start);
        std::size_t next = end;
        if (end == std::string::npos)
            end = next = s.size();
        else
            next += s.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        lines.push_back(ParseLine(s, start, end, charset));
        lines.back().next = next;
        start = next;
    }
    return lines;
}

// The first section named pszSection: its header's index and the index after its last line.
bool FindSection(const std::string& s, const std::vector<IniLine>& lines, const char* pszSection,
                 IniCharset charset, std::size_t* pHeader, std::size_t* pEnd) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const IniLine& line = lines[i];
        if (line.kind != IniLine::kSection || !NameIs(s, line.nameBegin, line.nameEnd, pszSection, charset))
            continue;
        *pHeader = i;
        *pEnd = i + 1;
        while (*pEnd < lines.size() && lines[*pEnd].kind != IniLine::kSection)
            ++*pEnd;
        return true;
    }
    return false;
}

// The index of the first line of pszKey in the lines (first, end), or end.
std::size_t FindKey(const std::string& s, const std::vector<IniLine>& lines, std::size_t first,
                    std::size_t end, const char* pszKey, IniCharset charset) {
    for (std::size_t i = first; i < end; ++i) {
        if (lines[i].kind == IniLine::kKey &&
            NameIs(s, lines[i].nameBegin, lines[i].nameEnd, pszKey, charset))
            return i;
    }
    return end;
}

// A value on one line: a line break becomes a blank.
std::string OneLine(const std::string& value) {
    std::string line;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char ch = value[i];
        if (ch == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
            continue;
        line += ch == '\r' || ch == '\n' ? ' ' : ch;
    }
    return line;
}

// A one-line value as it stands after '=', such that the reader gives it back.
std::string StoredValue(const std::string& value, IniCharset charset) {
    std::size_t begin = SkipBlanks(value, 0, value.size());
    std::size_t end = TrimEnd(value, begin, value.size(), charset);
    Unquote(value, &begin, &end, charset);
    return begin != 0 || end != value.size() ? '"' + value + '"' : value;
}

// The line of a key the section holds, set to a one-line value: the line itself where it reads
// as the value already, else its bytes up to the value (a bare key gains its '=') and the value.
std::string KeyLine(const std::string& s, const IniLine& line, const std::string& value, IniCharset charset) {
    if (line.bHasValue && s.compare(line.valueBegin, line.valueEnd - line.valueBegin, value) == 0)
        return s.substr(line.start, line.end - line.start);
    if (!line.bHasValue)
        return s.substr(line.start, line.nameEnd - line.start) + "=" + StoredValue(value, charset);
    return s.substr(line.start, line.rawValueBegin - line.start) + StoredValue(value, charset);
}

void AppendUtf8(std::string& out, std::uint32_t ch) {
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

void AppendUtf16(std::string& out, std::uint32_t unit, bool bBigEndian) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    out += bBigEndian ? high : low;
    out += bBigEndian ? low : high;
}

// One character of UTF-8 (a surrogate in its three-byte form included) at i; an invalid byte
// reads as U+FFFD, which no text of this program's making holds.
std::uint32_t NextUtf8(const std::string& s, std::size_t* pI) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const auto continues = [&](std::size_t k) { return k < s.size() && (byte(k) & 0xC0) == 0x80; };
    const std::size_t i = *pI;
    const unsigned char lead = byte(i);
    if (lead >= 0xC2 && lead <= 0xDF && continues(i + 1)) {
        *pI = i + 2;
        return ((lead & 0x1Fu) << 6) | (byte(i + 1) & 0x3Fu);
    }
    if (lead >= 0xE0 && lead <= 0xEF && continues(i + 1) && continues(i + 2) &&
        (lead != 0xE0 || byte(i + 1) >= 0xA0)) {
        *pI = i + 3;
        return ((lead & 0x0Fu) << 12) | ((byte(i + 1) & 0x3Fu) << 6) | (byte(i + 2) & 0x3Fu);
    }
    if (lead >= 0xF0 && lead <= 0xF4 && continues(i + 1) && continues(i + 2) && continues(i + 3) &&
        (lead != 0xF0 || byte(i + 1) >= 0x90) && (lead != 0xF4 || byte(i + 1) <= 0x8F)) {
        *pI = i + 4;
        return ((lead & 0x07u) << 18) | ((byte(i + 1) & 0x3Fu) << 12) | ((byte(i + 2) & 0x3Fu) << 6) |
               (byte(i + 3) & 0x3Fu);
    }
    *pI = i + 1;
    return lead < 0x80 ? lead : 0xFFFD;
}

// Whether the bytes are UTF-8 as a whole (no surrogates, no overlong forms) with at least one
// character of more than one byte.
bool IsWideUtf8(const std::string& bytes) {
    bool bWide = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t start = i;
        const std::uint32_t ch = NextUtf8(bytes, &i);
        if ((i == start + 1 && static_cast<unsigned char>(bytes[start]) >= 0x80) ||
            (ch >= 0xD800 && ch <= 0xDFFF))
            return false;
        bWide = bWide || i > start + 1;
    }
    return bWide;
}

// UTF-16 units after a two-byte mark, as UTF-8.
std::string Utf16ToUtf8(const std::string& bytes, bool bBigEndian) {
    std::string text;
    const std::size_t units = (bytes.size() - 2) / 2;
    const auto unit = [&](std::size_t k) {
        const auto first = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 + 2 * k]));
        const auto second = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[3 + 2 * k]));
        return bBigEndian ? first << 8 | second : second << 8 | first;
    };
    for (std::size_t k = 0; k < units; ++k) {
        std::uint32_t ch = unit(k);
        if (ch >= 0xD800 && ch <= 0xDBFF && k + 1 < units && unit(k + 1) >= 0xDC00 && unit(k + 1) <= 0xDFFF)
            ch = 0x10000 + ((ch - 0xD800) << 10) + (unit(++k) - 0xDC00);
        AppendUtf8(text, ch);
    }
    return text;
}

std::string Utf8ToUtf16(const std::string& text, bool bBigEndian) {
    std::string bytes = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (std::size_t i = 0; i < text.size();) {
        const std::uint32_t ch = NextUtf8(text, &i);
        if (ch >= 0x10000) {
            AppendUtf16(bytes, 0xD800 + ((ch - 0x10000) >> 10), bBigEndian);
            AppendUtf16(bytes, 0xDC00 + ((ch - 0x10000) & 0x3FF), bBigEndian);
        } else {
            AppendUtf16(bytes, ch, bBigEndian);
        }
    }
    return bytes;
}

} // namespace

IniText DecodeIniFile(const std::string& bytes) {
    IniText file;
    const bool bLittle = bytes.compare(0, 2, "\xFF\xFE") == 0, bBig = bytes.compare(0, 2, "\xFE\xFF") == 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        file.encoding = IniText::kUtf8Bom;
        file.text = bytes.substr(3);
    } else if (bLittle || bBig) {
        file.encoding = bBig ? IniText::kUtf16BeBom : IniText::kUtf16LeBom;
        file.text = Utf16ToUtf8(bytes, bBig);
        if ((bytes.size() - 2) % 2)
            file.oddByte = bytes.substr(bytes.size() - 1);
    } else {
        file.text = bytes;
        if (bytes.find('\0') != std::string::npos)
            file.encoding = IniText::kNulBytes;
        else if (IsWideUtf8(bytes))
            file.encoding = IniText::kUtf8;
    }
    return file;
}

std::string EncodeIniFile(const IniText& file) {
    switch (file.encoding) {
    case IniText::kUtf8Bom:
        return "\xEF\xBB\xBF" + file.text;
    case IniText::kUtf16LeBom:
    case IniText::kUtf16BeBom:
        return Utf8ToUtf16(file.text, file.encoding == IniText::kUtf16BeBom) + file.oddByte;
    case IniText::kPlain:
    case IniText::kUtf8:
    case IniText::kNulBytes:
        break;
    }
    return file.text;
}

bool ReadIniValue(const std::string& text, IniCharset charset, const char* pszSection, const char* pszKey,
                  std::string* pValue) {
    const std::vector<IniLine> lines = ParseLines(text, charset);
    std::size_t header = 0, end = 0;
    if (!FindSection(text, lines, pszSection, charset, &header, &end))
        return false;
    const std::size_t i = FindKey(text, lines, header + 1, end, pszKey, charset);
    if (i == end || !lines[i].bHasValue)
        return false;
    pValue->assign(text, lines[i].valueBegin, lines[i].valueEnd - lines[i].valueBegin);
    return true;
}

std::string WriteIniValues(const std::string& text, IniCharset charset, const char* pszSection,
                           const IniEntry* pEntries, std::size_t nCount) {
    const std::vector<IniLine> lines = ParseLines(text, charset);
    std::vector<std::string> values;
    for (std::size_t e = 0; e < nCount; ++e)
        values.push_back(OneLine(pEntries[e].value));
    const auto newLine = [&](std::size_t e) {
        return std::string(pEntries[e].pszKey) + "=" + StoredValue(values[e], charset);
    };
    // New lines end as the file's first line break does.
    std::string eol = "\r\n";
    for (const IniLine& line : lines) {
        if (line.next != line.end) {
            eol = text.substr(line.end, line.next - line.end);
            break;
        }
    }
    const bool bEndsOpen = !lines.empty() && lines.back().next == lines.back().end;

    std::size_t header = 0, end = 0;
    if (!FindSection(text, lines, pszSection, charset, &header, &end)) {
        std::string out = text + (bEndsOpen ? eol : "") + "[" + pszSection + "]" + eol;
        for (std::size_t e = 0; e < nCount; ++e)
            out += newLine(e) + eol;
        return out;
    }

    std::vector<std::size_t> entryOfLine(lines.size(), nCount);
    std::string added;
    for (std::size_t e = 0; e < nCount; ++e) {
        const std::size_t i = FindKey(text, lines, header + 1, end, pEntries[e].pszKey, charset);
        if (i < end)
            entryOfLine[i] = e;
        else
            added += newLine(e) + eol;
    }
    // Added keys follow the section's last key, ahead of blank lines and comments that lead
    // into the next section.
    std::size_t insertAfter = header;
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines[i].kind == IniLine::kKey)
            insertAfter = i;
    }

    std::string out;
    out.reserve(text.size() + added.size() + 64);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const IniLine& line = lines[i];
        if (entryOfLine[i] < nCount)
            out += KeyLine(text, line, values[entryOfLine[i]], charset) +
                   text.substr(line.end, line.next - line.end);
        else
            out.append(text, line.start, line.next - line.start);
        if (i == insertAfter && !added.empty())
            out += (line.next == line.end ? eol : "") + added;
    }
    return out;
}

std::string CutText932(const std::string& text, std::size_t nMaxBytes) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t next = Step(text, i, text.size(), IniCharset::kCodePage932);
        if (next > nMaxBytes)
            break;
        end = i = next;
    }
    return text.substr(0, end);
}
