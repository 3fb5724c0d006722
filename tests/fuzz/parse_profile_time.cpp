// ParseProfileTime on any stored text: the invalid time or a time of the span, which its own
// stored text reads back as.
#include <cstdlib>
#include <ctime>

#include "app/settings_text.h"
#include "property.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Local time as the tests read it, so that a finding reproduces anywhere; no daylight
    // saving, so that every stored text names one moment.
    setenv("TZ", "JST-9", 1);
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = InputText(data, size);
    const CTime time = ParseProfileTime(text.c_str());
    const std::int64_t t = time.GetTime();
    Require(t == -1 || (t >= 0 && t <= CTime::kMaxTime),
            "ParseProfileTime gives -1 or a value from 0 to 3000-12-31 23:59:59 UTC");
    if (t >= 0)
        Require(ParseProfileTime(FormatProfileTime(time)) == time, "a parsed time reads back from its text");
    return 0;
}
