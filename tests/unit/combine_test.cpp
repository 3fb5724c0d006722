// Combining a picked date with a picked time of day.
#include <gtest/gtest.h>

#include <string>

#include "time_zone.h"
#include "ui/combine.h"

namespace {

std::string Local(CTime t) {
    return std::string(t.Format("%Y-%m-%d %H:%M:%S"));
}

class CombineTest : public ::testing::TestWithParam<const char*> {};

TEST_P(CombineTest, WallClockReadingOfTheFields) {
    ScopedTimeZone zone(GetParam());
    const struct {
        int y, m, d, h, mi, s;
        const char* expected;
    } cases[] = {
        {2003, 4, 1, 18, 30, 15, "2003-04-01 18:30:15"},
        {2038, 1, 18, 1, 2, 59, "2038-01-18 01:02:59"},
        {2040, 1, 1, 0, 0, 0, "2040-01-01 00:00:00"},
        {2999, 7, 1, 23, 59, 59, "2999-07-01 23:59:59"},
        // A summer date keeps the time of day as read, whatever daylight saving does.
        {2026, 7, 1, 9, 45, 30, "2026-07-01 09:45:30"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Local(CombineDateTime(c.y, c.m, c.d, c.h, c.mi, c.s)), c.expected);
}

TEST_P(CombineTest, EdgeDaysOfTheSpanGiveItsNearerEnd) {
    ScopedTimeZone zone(GetParam());
    constexpr std::int64_t kLast = CTime::kMaxTime;
    std::tm first{};
    std::tm last{};
    ASSERT_TRUE(CTime(0).GetLocalTm(&first));
    ASSERT_TRUE(CTime(kLast).GetLocalTm(&last));
    const int y0 = first.tm_year + 1900, m0 = first.tm_mon + 1, d0 = first.tm_mday;
    const int y1 = last.tm_year + 1900, m1 = last.tm_mon + 1, d1 = last.tm_mday;
    // The test zones are off UTC, so the span's first and last local days are both partial.
    ASSERT_NE(first.tm_hour, 0);
    ASSERT_NE(last.tm_hour, 23);
    const struct {
        int y, m, d, h, mi, s;
        std::int64_t expected;
    } cases[] = {
        {y0, m0, d0, 0, 0, 0, 0},
        {y1, m1, d1, 23, 59, 59, kLast},
        // Inside the span on the edge days the combination stands.
        {y0, m0, d0, first.tm_hour, first.tm_min, first.tm_sec, 0},
        {y0, m0, d0, 23, 59, 59, CTime(y0, m0, d0, 23, 59, 59).GetTime()},
        {y1, m1, d1, last.tm_hour, last.tm_min, last.tm_sec, kLast},
        {y1, m1, d1, 0, 0, 0, CTime(y1, m1, d1, 0, 0, 0).GetTime()},
    };
    for (const auto& c : cases) {
        ASSERT_GE(c.expected, 0);
        EXPECT_EQ(CombineDateTime(c.y, c.m, c.d, c.h, c.mi, c.s).GetTime(), c.expected)
            << c.y << "-" << c.m << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s;
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, CombineTest, ::testing::ValuesIn(kTestZones));

} // namespace
