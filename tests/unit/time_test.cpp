// CTime against the C runtime: the 1970 and 2038 edges, daylight saving, formatting limits.
#include <gtest/gtest.h>

#include <climits>
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
    std::int32_t expected;
};

const EdgeCase kEdges[] = {
    {"JST-9", {1970, 1, 1, 9, 0, 0}, 0},
    {"JST-9", {1970, 1, 1, 8, 59, 59}, -1},
    {"JST-9", {1970, 1, 1, 9, 0, 1}, 1},
    {"JST-9", {2038, 1, 19, 12, 14, 7}, INT_MAX},
    {"JST-9", {2038, 1, 19, 12, 14, 8}, -1},
    {"EST5EDT", {1969, 12, 31, 19, 0, 0}, 0},
    {"EST5EDT", {1969, 12, 31, 18, 59, 59}, -1},
    {"EST5EDT", {2038, 1, 18, 22, 14, 7}, INT_MAX},
    {"EST5EDT", {2038, 1, 18, 22, 14, 8}, -1},
    // Fields far outside their ranges carry without overflow.
    {"JST-9", {1970, 1, 1, 9, 0, INT_MAX}, INT_MAX},
    {"JST-9", {2038, 1, 19, 12, 14, INT_MIN}, -1},
    {"JST-9", {INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX}, -1},
    {"JST-9", {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN}, -1},
    {"JST-9", {0, 0, 0, 0, 0, 0}, -1},
};

TEST(CTimeTest, RangeEdgesInBothZones) {
    for (const EdgeCase& c : kEdges) {
        ScopedTimeZone zone(c.zone);
        const int* f = c.fields;
        EXPECT_EQ(CTime(f[0], f[1], f[2], f[3], f[4], f[5]).GetTime(), c.expected)
            << c.zone << " " << f[0] << "/" << f[1] << "/" << f[2] << " " << f[3] << ":" << f[4] << ":"
            << f[5];
    }
}

TEST(CTimeTest, DaylightSavingHoursFollowTheRuntime) {
    ScopedTimeZone zone("EST5EDT");
    // The spring day has 23 hours, the autumn day 25.
    EXPECT_EQ(CTime(2026, 3, 9, 0, 0, 0) - CTime(2026, 3, 8, 0, 0, 0), 23 * 3600);
    EXPECT_EQ(CTime(2026, 11, 2, 0, 0, 0) - CTime(2026, 11, 1, 0, 0, 0), 25 * 3600);
    // A reading inside the skipped hour is still a valid moment, one hour away from a neighbour.
    const CTime skipped(2026, 3, 8, 2, 30, 0);
    ASSERT_NE(skipped.GetTime(), -1);
    const CTime before(2026, 3, 8, 1, 30, 0);
    const CTime after(2026, 3, 8, 3, 30, 0);
    EXPECT_TRUE(skipped == before + 3600 || skipped + 3600 == after) << Local(skipped);
    // A reading inside the repeated hour is one of its two moments.
    const CTime repeated(2026, 11, 1, 1, 30, 0);
    EXPECT_EQ(Local(repeated), "2026-11-01 01:30:00");
    EXPECT_EQ(Local(CTime(2026, 7, 1, 12, 0, 0) + 1), "2026-07-01 12:00:01");
}

TEST(CTimeTest, FormatIsEmptyWithoutLocalFieldsOrRoom) {
    ScopedTimeZone zone("JST-9");
    EXPECT_EQ(std::string(CTime(-1).Format("%Y")), "");
    EXPECT_EQ(std::string(CTime(INT_MIN).Format("%Y")), "");
    EXPECT_EQ(std::string(CTime(0).Format("%Y/%m/%d %H:%M:%S (%a)")), "1970/01/01 09:00:00 (Thu)");
    EXPECT_EQ(std::string(CTime(INT_MAX).Format("%Y/%m/%d %H:%M:%S (%a)")), "2038/01/19 12:14:07 (Tue)");
    // 127 bytes fit, 128 do not.
    const std::string fits(127, 'x');
    const std::string over(128, 'x');
    EXPECT_EQ(std::string(CTime(0).Format(fits.c_str())), fits);
    EXPECT_EQ(std::string(CTime(0).Format(over.c_str())), "");
}

// Subtraction and comparison are checked through the countdown; the default due date adds.
TEST(CTimeTest, AdditionWrapsLikeThirtyTwoBits) {
    EXPECT_EQ((CTime(INT_MAX) + 1).GetTime(), INT_MIN);
}

} // namespace
