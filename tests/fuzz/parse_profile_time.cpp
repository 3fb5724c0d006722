// ParseProfileTime on any stored text: the invalid time or a time the type can hold.
#include <cstdlib>
#include <ctime>

#include "app/settings_text.h"
#include "property.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Local time as the tests read it, so that a finding reproduces anywhere.
    setenv("TZ", "JST-9", 1);
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = InputText(data, size);
    const std::int32_t t = ParseProfileTime(text.c_str()).GetTime();
    Require(t == -1 || t >= 0, "ParseProfileTime gives -1 or a value from 0 to 2147483647");
    return 0;
}
