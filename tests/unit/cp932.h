// Lead bytes of code page 932 (Shift-JIS), the ANSI code page of a Japanese system: where a test
// cuts a text at a character boundary without asking the system.
#pragma once

inline bool IsLeadByte932(unsigned char ch) {
    return (ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC);
}
