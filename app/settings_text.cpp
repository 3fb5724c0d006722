// Date texts of the settings file and the default settings.
#include "app/settings_text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

const char* const kSettingsSection = "SYSTEM";
const char* const kKeyFromDate = "FROM_DATE";
const char* const kKeyToDate = "TO_DATE";
const char* const kKeyTitle = "TITLE";
const char* const kKeySubject = "SUBJECT";
const char* const kDefaultTitle = "○×ソフト株式会社 納期";
const char* const kDefaultSubject = "○×管理システム第一次開発終了まで";

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

// One %d conversion: optional white space, optional sign, digits. Values beyond int are
// clamped instead of overflowing, which sscanf leaves undefined.
bool ScanInt(const char*& p, int* pValue) {
    const char* q = p;
    while (IsBlank(*q))
        ++q;
    const char* digits = q;
    if (*digits == '+' || *digits == '-')
        ++digits;
    if (*digits < '0' || *digits > '9')
        return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(q, &end, 10);
    *pValue = value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
    p = end;
    return true;
}

} // namespace

CString FormatProfileTime(CTime time) {
    return time.Format("%Y/%m/%d %H:%M:%S");
}

CTime ParseProfileTime(const char* pszText) {
    int fields[6] = {0, 0, 0, 0, 0, 0};
    // The literal that precedes each number after the first: '/' '/' then any blank run, ':' ':'.
    static const char kSeparators[6] = {0, '/', '/', ' ', ':', ':'};
    const char* p = pszText ? pszText : "";
    for (int i = 0; i < 6; ++i) {
        if (kSeparators[i] == ' ') {
            while (IsBlank(*p))
                ++p;
        } else if (kSeparators[i] != 0) {
            if (*p != kSeparators[i])
                break;
            ++p;
        }
        if (!ScanInt(p, &fields[i]))
            break;
    }
    return CTime(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], -1);
}
