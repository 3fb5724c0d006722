// The countdown split and its texts, over the worked distances and their extremes.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "display/countdown.h"

namespace {

constexpr std::int64_t kMax = CTime::kMaxTime;
constexpr std::int64_t k2038 = 2147483648; // 2038-01-19 03:14:08 UTC
constexpr std::int64_t k2039 = 2190499200; // 2039-06-01 00:00:00 UTC
constexpr std::int64_t k2040 = 2208988800; // 2040-01-01 00:00:00 UTC

struct Worked {
    std::int64_t due;
    std::int64_t now;
    bool overdue;
    const char* dayLine;
    const char* clock;
};

const Worked kWorked[] = {
    {INT_MAX, 0, false, "残り 24855 日と", "03:14:07"},
    {1000000 + 432000, 1000000, false, "残り 5 日と", "00:00:00"},
    {1000000 + 86400, 1000000, false, "残り 1 日と", "00:00:00"},
    {1000000 + 86399, 1000000, false, "残り 0 日と", "23:59:59"},
    {1000000 + 3661, 1000000, false, "残り 0 日と", "01:01:01"},
    {1000001, 1000000, false, "残り 0 日と", "00:00:01"},
    {1000000, 1000000, true, "期限オーバー 0 日と", "00:00:00"},
    {1000000 - 1, 1000000, true, "期限オーバー 0 日と", "00:00:01"},
    {1000000 - 30, 1000000, true, "期限オーバー 0 日と", "00:00:30"},
    {1000000 - 93600, 1000000, true, "期限オーバー 1 日と", "02:00:00"},
    {-1, INT_MAX, true, "期限オーバー 24855 日と", "03:14:08"},
    // An unconvertible due time lies in the past.
    {-1, 0, true, "期限オーバー 0 日と", "00:00:01"},
    // Across 2038 and beyond, up to the widest distances of the span.
    {k2038, k2038 - 1, false, "残り 0 日と", "00:00:01"},
    {k2038 - 1, k2038, true, "期限オーバー 0 日と", "00:00:01"},
    {k2040 + 3661, k2039, false, "残り 214 日と", "01:01:01"},
    {k2039, k2040 + 3661, true, "期限オーバー 214 日と", "01:01:01"},
    {kMax, 0, false, "残り 376564 日と", "23:59:59"},
    {-1, kMax, true, "期限オーバー 376565 日と", "00:00:00"},
};

TEST(CountdownTest, WorkedDistances) {
    for (const Worked& w : kWorked) {
        const CountdownParts parts = ComputeCountdown(CTime(w.due), CTime(w.now));
        EXPECT_EQ(parts.bOverdue, w.overdue) << w.due << " - " << w.now;
        EXPECT_EQ(std::string(FormatDayLine(parts)), w.dayLine) << w.due << " - " << w.now;
        EXPECT_EQ(std::string(FormatClockLine(parts)), w.clock) << w.due << " - " << w.now;
    }
}

TEST(CountdownTest, TextsAreCodePage932) {
    const CString day = FormatDayLine(ComputeCountdown(CTime(100), CTime(0)));
    const unsigned char expected[] = {0x8E, 0x63, 0x82, 0xE8, ' ', '0', ' ', 0x93, 0xFA, 0x82, 0xC6};
    ASSERT_EQ(day.GetLength(), static_cast<int>(sizeof expected));
    EXPECT_EQ(std::memcmp(day.GetString(), expected, sizeof expected), 0);
}

TEST(CountdownTest, NoMinusSignAndAlwaysEightClockCharacters) {
    const std::int64_t distances[] = {-kMax - 1, INT_MIN, -86401, -86400,  -86399, -3601, -3600, -61,
                                      -60,       -59,     -1,     0,       1,      59,    60,    3599,
                                      3600,      86399,   86400,  INT_MAX, k2038,  kMax};
    for (const std::int64_t secs : distances) {
        // due - now = secs, with now chosen so that no value leaves the span.
        const std::int64_t now = secs < 0 ? kMax : 0;
        const CountdownParts parts = ComputeCountdown(CTime(now) + secs, CTime(now));
        const std::string day(FormatDayLine(parts));
        const std::string clock(FormatClockLine(parts));
        EXPECT_EQ(day.find('-'), std::string::npos) << secs;
        EXPECT_EQ(clock.find('-'), std::string::npos) << secs;
        EXPECT_EQ(clock.size(), 8u) << secs;
        EXPECT_LE(parts.nHours, 23);
        EXPECT_EQ(parts.bOverdue, secs <= 0) << secs;
        // The four numbers rebuild the magnitude of the distance.
        const long long magnitude = secs < 0 ? -secs : secs;
        EXPECT_EQ(((parts.nDays * 24LL + parts.nHours) * 60 + parts.nMinutes) * 60 + parts.nSeconds,
                  magnitude);
    }
}

} // namespace
