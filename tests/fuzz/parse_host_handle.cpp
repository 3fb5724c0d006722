// ParseHostHandle on any second argument reads as the C library's atol does, for every number
// atol can hold.
#include <cstdlib>

#include "app/launch_rules.h"
#include "property.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = InputText(data, size);
    const std::uint32_t handle = ParseHostHandle(text.c_str());
    // Count the digits atol would read: after white space and one sign.
    std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos)
        i = text.size();
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i + digits < text.size() && text[i + digits] >= '0' && text[i + digits] <= '9')
        ++digits;
    if (digits <= 9)
        Require(handle == static_cast<std::uint32_t>(std::atol(text.c_str())),
                "ParseHostHandle reads as atol");
    return 0;
}
