// What the fuzz targets share: the input as a C string, and a broken property as a crash, so
// that libFuzzer keeps the input that broke it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// The input up to its first NUL byte: the parsers read C strings.
inline std::string InputText(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    return text.substr(0, text.find('\0'));
}

inline void Require(bool holds, const char* property) {
    if (holds)
        return;
    std::fprintf(stderr, "broken property: %s\n", property);
    std::abort();
}
