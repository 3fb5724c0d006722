// MatchSwitch on any argument and letter agrees with its three rules said plainly.
#include "app/launch_rules.h"
#include "property.h"

namespace {

char LowerAscii(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// One optional '-' or '/' is skipped; the switch is the one character after it; it selects the
// letter when the two are equal ignoring case.
bool Selects(const std::string& argument, char letter) {
    std::size_t i = 0;
    if (i < argument.size() && (argument[i] == '-' || argument[i] == '/'))
        ++i;
    return i < argument.size() && LowerAscii(argument[i]) == LowerAscii(letter);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    // The first byte picks one of the 52 ASCII letters, the rest is the argument.
    const int pick = data[0] % 52;
    const char letter[2] = {static_cast<char>(pick < 26 ? 'a' + pick : 'A' + pick - 26), '\0'};
    const std::string argument = InputText(data + 1, size - 1);
    Require(MatchSwitch(argument.c_str(), letter) == Selects(argument, letter[0]),
            "MatchSwitch agrees with its three rules");
    return 0;
}
