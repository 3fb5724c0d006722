// QuoteProfileValue on any one-line value: read back through the profile reader's rules, the
// written form gives the value again.
#include "app/settings_text.h"
#include "property.h"

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

// The reader: blanks around the value are dropped, then one pair of enclosing quotation marks
// (both '"' or both '\'') is taken off.
std::string ReadBack(const std::string& written) {
    std::size_t first = 0, last = written.size();
    while (first < last && IsBlank(written[first]))
        ++first;
    while (last > first && IsBlank(written[last - 1]))
        --last;
    std::string value = written.substr(first, last - first);
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string value = InputText(data, size);
    // A value stands on one line of the file.
    if (value.find_first_of("\r\n") != std::string::npos)
        return 0;
    const CString written = QuoteProfileValue(CString(value.c_str()));
    Require(ReadBack(std::string(written)) == value, "a quoted value reads back as the original");
    return 0;
}
