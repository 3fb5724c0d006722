// MakeProfilePath on any program path and block size: it never writes past the block, a path
// that names no program gives nothing, and a result ends in ".ini" after the drive and folder.
#include <cwchar>
#include <memory>

#include "app/launch_rules.h"
#include "property.h"

namespace {

// Drive and folder of a path: the drive is the first two characters when the second is ':'; the
// folder runs to the last '\' or '/'.
std::wstring DriveAndFolder(const std::wstring& path) {
    std::size_t end = path.size() >= 2 && path[1] == L':' ? 2 : 0;
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator != std::wstring::npos && separator >= end)
        end = separator + 1;
    return path.substr(0, end);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // The first two bytes give the block size (1 to 512), the rest is the path: ASCII as it
    // stands, every other byte a character from the CJK and Hangul ranges.
    const std::size_t blockSize = 1 + ((data[0] << 8 | data[1]) % 512);
    std::wstring path;
    for (const char ch : InputText(data + 2, size - 2)) {
        const unsigned char byte = static_cast<unsigned char>(ch);
        path += static_cast<wchar_t>(byte < 0x80 ? byte : (byte & 1 ? 0x3000 : 0xAC00) + byte);
    }
    // A block of exactly that size, so that AddressSanitizer sees any write past it.
    const std::unique_ptr<wchar_t[]> block(new wchar_t[blockSize]);
    std::wmemset(block.get(), L'X', blockSize);
    const bool made = MakeProfilePath(path.c_str(), block.get(), blockSize);
    std::size_t length = 0;
    while (length < blockSize && block[length])
        ++length;
    Require(length < blockSize, "the result is terminated inside its block");
    const std::wstring result(block.get(), length);
    const std::wstring prefix = DriveAndFolder(path);
    Require(!made || prefix.size() < path.size(), "a path that names no program gives no settings path");
    if (!made) {
        Require(result.empty(), "a refused path leaves the block empty");
        return 0;
    }
    Require(result.size() >= 4 && result.compare(result.size() - 4, 4, L".ini") == 0,
            "the result ends in .ini");
    Require(result.compare(0, prefix.size(), prefix) == 0, "the result starts with the drive and folder");
    return 0;
}
