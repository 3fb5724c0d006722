// The program's own code page: every CString holds code page 932 (Shift-JIS) bytes, whatever code
// page the system runs in, so that what is stored and drawn never depends on the machine.
#pragma once

constexpr unsigned int kTextCodePage = 932;

// Lead and trail bytes of code page 932, from the code page itself rather than the system's,
// which may be any.
constexpr bool AfxIsLeadByte(unsigned char ch) {
    return (ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC);
}
constexpr bool AfxIsTrailByte(unsigned char ch) {
    return (ch >= 0x40 && ch <= 0x7E) || (ch >= 0x80 && ch <= 0xFC);
}
