// Switching the C runtime's time zone for one test, in glibc and in msvcrt alike.
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

inline void SetTimeZone(const char* tz) {
#ifdef _WIN32
    static std::string setting; // _putenv keeps no copy in every runtime
    setting = std::string("TZ=") + tz;
    _putenv(setting.c_str());
    _tzset();
#else
    setenv("TZ", tz, 1);
    tzset();
#endif
}

// The time zones every local-time test runs in: one without daylight saving, one with US rules.
inline const char* const kTestZones[] = {"JST-9", "EST5EDT"};

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* tz) { SetTimeZone(tz); }
    ~ScopedTimeZone() { SetTimeZone("JST-9"); }
};
