// CTime against the C runtime: the 1970, 2038 and 3000 edges, daylight saving, formatting limits.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "fw/afxtime.h"
#include "time_zone.h"

namespace {

std::string Local(CTime t) {
    return std::string(t.Format("%Y-%m-%d %H:%M:%S"));
}

struct EdgeCase {
    const char* zone;
    int fields[6];
    std::int64_t expected;
};

constexpr std::int64_t kMax = CTime::kMaxTime;
constexpr std::int64_t k2038 = 2147483648; // the first second a 32-bit count cannot hold

const EdgeCase kEdges[] = {
    {"JST-9", {1970, 1, 1, 9, 0, 0}, 0},
    {"JST-9", {1970, 1, 1, 8, 59, 59}, -1},
    {"JST-9", {2038, 1, 19, 12, 14, 7}, k2038 - 1},
    {"JST-9", {2038, 1, 19, 12, 14, 8}, k2038},
    // East of UTC the span ends on a local date in 3001.
    {"JST-9", {3001, 1, 1, 8, 59, 59}, kMax},
    {"JST-9", {3001, 1, 1, 9, 0, 0}, -1},
    {"JST-9", {3000, 12, 31, 23, 59, 59}, kMax - 9 * 3600},
    {"EST5EDT", {1969, 12, 31, 19, 0, 0}, 0},
    {"EST5EDT", {1969, 12, 31, 18, 59, 59}, -1},
    {"EST5EDT", {2038, 1, 18, 22, 14, 7}, k2038 - 1},
    {"EST5EDT", {2038, 1, 18, 22, 14, 8}, k2038},
    // West of UTC it ends in the evening of 3000-12-31, which the runtime would still convert.
    {"EST5EDT", {3000, 12, 31, 18, 59, 59}, kMax},
    {"EST5EDT", {3000, 12, 31, 19, 0, 0}, -1},
    {"PST8PDT", {1969, 12, 31, 16, 0, 0}, 0},
    {"PST8PDT", {1969, 12, 31, 15, 59, 59}, -1},
    {"PST8PDT", {2039, 6, 1, 12, 0, 0}, 2190567600},
    {"PST8PDT", {3000, 12, 31, 15, 59, 59}, kMax},
    {"PST8PDT", {3000, 12, 31, 16, 0, 0}, -1},
    // Fields far outside their ranges carry without overflow.
    {"JST-9", {1970, 1, 1, 9, 0, INT_MAX}, INT_MAX},
    {"JST-9", {2038, 1, 19, 12, 14, INT_MIN}, -1},
    {"JST-9", {3001, 1, 1, 8, 59, INT_MIN}, kMax - 59 + INT_MIN},
    {"JST-9", {INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX}, -1},
    {"JST-9", {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN}, -1},
    {"JST-9", {0, 0, 0, 0, 0, 0}, -1},
};

TEST(CTimeTest, RangeEdgesInEachZone) {
    for (const EdgeCase& c : kEdges) {
        ScopedTimeZone zone(c.zone);
        const int* f = c.fields;
        const CTime t(f[0], f[1], f[2], f[3], f[4], f[5]);
        EXPECT_EQ(t.GetTime(), c.expected) << c.zone << " " << f[0] << "/" << f[1] << "/" << f[2] << " "
                                           << f[3] << ":" << f[4] << ":" << f[5];
        // A time inside the span formats back to the fields it was built from.
        char fields[64];
        std::snprintf(fields, sizeof fields, "%04d-%02d-%02d %02d:%02d:%02d", f[0], f[1], f[2], f[3], f[4],
                      f[5]);
        if (c.expected >= 0 && f[5] != INT_MAX && f[5] != INT_MIN) {
            EXPECT_EQ(Local(t), fields) << c.zone;
        }
    }
}

// US rules today, past 2038 and near the span's end: the spring day has 23 hours, the autumn
// day 25, and a summer reading keeps its time of day.
TEST(CTimeTest, DaylightSavingDaysInEveryCentury) {
    const struct { int year, springDay, autumnDay; } years[] = {{2026, 8, 1}, {2039, 13, 6}, {2999, 10, 3}};
    for (const char* zoneName : {"EST5EDT", "PST8PDT"}) {
        ScopedTimeZone zone(zoneName);
        for (const auto& y : years) {
            SCOPED_TRACE(std::string(zoneName) + " " + std::to_string(y.year));
            EXPECT_EQ(CTime(y.year, 3, y.springDay + 1, 0, 0, 0) - CTime(y.year, 3, y.springDay, 0, 0, 0),
                      23 * 3600);
            EXPECT_EQ(CTime(y.year, 3, y.springDay, 0, 0, 0) - CTime(y.year, 3, y.springDay - 1, 0, 0, 0),
                      24 * 3600);
            EXPECT_EQ(CTime(y.year, 11, y.autumnDay + 1, 0, 0, 0) - CTime(y.year, 11, y.autumnDay, 0, 0, 0),
                      25 * 3600);
            EXPECT_EQ(Local(CTime(y.year, 7, 1, 12, 0, 0) + 1), std::to_string(y.year) + "-07-01 12:00:01");
        }
    }
}

TEST(CTimeTest, SkippedAndRepeatedHoursFollowTheRuntime) {
    ScopedTimeZone zone("EST5EDT");
    // A reading inside the skipped hour is still a valid moment, one hour away from a neighbour.
    const CTime skipped(2026, 3, 8, 2, 30, 0);
    ASSERT_NE(skipped.GetTime(), -1);
    const CTime before(2026, 3, 8, 1, 30, 0);
    const CTime after(2026, 3, 8, 3, 30, 0);
    EXPECT_TRUE(skipped == before + 3600 || skipped + 3600 == after) << Local(skipped);
    // A reading inside the repeated hour is one of its two moments.
    const CTime repeated(2026, 11, 1, 1, 30, 0);
    EXPECT_EQ(Local(repeated), "2026-11-01 01:30:00");
}

TEST(CTimeTest, FormatIsEmptyWithoutLocalFieldsOrRoom) {
    ScopedTimeZone zone("JST-9");
    EXPECT_EQ(std::string(CTime(-1).Format("%Y")), "");
    EXPECT_EQ(std::string(CTime(INT_MIN).Format("%Y")), "");
    EXPECT_EQ(std::string(CTime(0).Format("%Y/%m/%d %H:%M:%S (%a)")), "1970/01/01 09:00:00 (Thu)");
    EXPECT_EQ(std::string(CTime(INT_MAX).Format("%Y/%m/%d %H:%M:%S (%a)")), "2038/01/19 12:14:07 (Tue)");
    EXPECT_EQ(std::string(CTime(k2038).Format("%Y/%m/%d %H:%M:%S (%a)")), "2038/01/19 12:14:08 (Tue)");
    EXPECT_EQ(std::string(CTime(2190499200).Format("%Y/%m/%d %H:%M:%S (%a)")), "2039/06/01 09:00:00 (Wed)");
    EXPECT_EQ(std::string(CTime(kMax).Format("%Y/%m/%d %H:%M:%S (%a)")), "3001/01/01 08:59:59 (Thu)");
    EXPECT_EQ(std::string(CTime(kMax + 1).Format("%Y")), "");
    // 127 bytes fit, 128 do not.
    const std::string fits(127, 'x');
    const std::string over(128, 'x');
    EXPECT_EQ(std::string(CTime(0).Format(fits.c_str())), fits);
    EXPECT_EQ(std::string(CTime(0).Format(over.c_str())), "");
}

// Subtraction and comparison are checked through the countdown; the default due date adds.
TEST(CTimeTest, SumsAndDifferencesSpanTheWholeRange) {
    EXPECT_EQ((CTime(INT_MAX) + 1).GetTime(), k2038);
    EXPECT_EQ((CTime(kMax - 432000) + 432000).GetTime(), kMax);
    EXPECT_EQ(CTime(kMax) - CTime(-1), kMax + 1);
    EXPECT_EQ(CTime(-1) - CTime(kMax), -kMax - 1);
    EXPECT_LT(CTime(INT_MAX), CTime(k2038));
}

} // namespace
