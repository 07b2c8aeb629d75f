#include "platform/clock/clock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

TEST(Clock, MillisecondsAdvanceAtLeastBySleptTime)
{
    const std::int64_t before = sysclock::milliseconds();
    sysclock::sleep(25);
    const std::int64_t after = sysclock::milliseconds();
    EXPECT_GE(after - before, 25);
    EXPECT_GE(sysclock::milliseconds(), after);
}

// A minute either way: a sleep that took the size of a negative time, or its wrap-around, would
// stand out far above the bound.
TEST(Clock, SleepsOfNoTimeOrLessReturnAtOnce)
{
    const std::int64_t before = sysclock::milliseconds();
    sysclock::sleep(0);
    sysclock::sleep(-60000);
    sysclock::sleepMicroseconds(0);
    sysclock::sleepMicroseconds(-60000000);
    EXPECT_LT(sysclock::milliseconds() - before, 5000);
}

TEST(Clock, LocalTimeMatchesTheCalendar)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::time_t now = std::time(nullptr);
        std::tm expected{};
        localtime_r(&now, &expected);
        const sysclock::LocalTime got = sysclock::localTime();
        if (got.second != expected.tm_sec)
            continue;  // a second boundary passed in between
        EXPECT_EQ(got.day, expected.tm_mday);
        EXPECT_EQ(got.month, expected.tm_mon + 1);
        EXPECT_EQ(got.year, expected.tm_year + 1900);
        EXPECT_EQ(got.hour, expected.tm_hour);
        EXPECT_EQ(got.minute, expected.tm_min);
        return;
    }
    FAIL() << "clock kept crossing second boundaries";
}

}  // namespace
