// MakeProfilePath on any program path and block size: it never writes past the block, and a
// result ends in ".ini" after the program path's drive and folder.
#include <cstring>
#include <memory>

#include "app/launch_rules.h"
#include "property.h"
#include "unit/cp932.h"

namespace {

// Drive and folder of a path, read character by character: the drive is the first two bytes
// when the second is ':' and the first is no lead byte; the folder runs to the last '\' or '/'.
std::string DriveAndFolder(const std::string& path) {
    std::size_t end = 0;
    if (path.size() >= 2 && path[1] == ':' && !IsLeadByte932(static_cast<unsigned char>(path[0])))
        end = 2;
    for (std::size_t i = end; i < path.size(); ++i) {
        if (IsLeadByte932(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
            ++i;
        else if (path[i] == '\\' || path[i] == '/')
            end = i + 1;
    }
    return path.substr(0, end);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // The first two bytes give the block size (1 to 512), the rest is the path.
    const std::size_t blockSize = 1 + ((data[0] << 8 | data[1]) % 512);
    const std::string path = InputText(data + 2, size - 2);
    // A block of exactly that size, so that AddressSanitizer sees any write past it.
    const std::unique_ptr<char[]> block(new char[blockSize]);
    std::memset(block.get(), 'X', blockSize);
    const bool made = MakeProfilePath(path.c_str(), block.get(), blockSize, IsLeadByte932);
    const std::size_t length = strnlen(block.get(), blockSize);
    Require(length < blockSize, "the result is terminated inside its block");
    const std::string result(block.get(), length);
    if (!made) {
        Require(result.empty(), "a path that does not fit leaves the block empty");
        return 0;
    }
    Require(result.size() >= 4 && result.compare(result.size() - 4, 4, ".ini") == 0,
            "the result ends in .ini");
    const std::string prefix = DriveAndFolder(path);
    Require(result.compare(0, prefix.size(), prefix) == 0, "the result starts with the drive and folder");
    return 0;
}
