// Calendar times and broken-down times, in UTC by arithmetic and in local time by the platform.
#include "platform/localTime.h"

#include <gtest/gtest.h>

#include "tests/support/timeZone.h"

namespace {

std::tm fields(int year, int month, int day, int hour, int minute, int second, int isdst = 0)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = isdst;
    return t;
}

// year-month-day hour:minute:second weekday/day of the year
std::string text(const std::tm& t)
{
    char out[64];
    std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d %d/%d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, t.tm_wday, t.tm_yday);
    return out;
}

TEST(utcFields, KnownDatesBothWays)
{
    EXPECT_EQ(text(utcFields(0)), "1970-01-01 00:00:00 4/0");
    EXPECT_EQ(text(utcFields(-1)), "1969-12-31 23:59:59 3/364");
    EXPECT_EQ(text(utcFields(-2082848400)), "1903-12-31 23:00:00 4/364");   // the recorder's epoch
    EXPECT_EQ(text(utcFields(951782400)), "2000-02-29 00:00:00 2/59");
    EXPECT_EQ(text(utcFields(1718000000)), "2024-06-10 06:13:20 1/161");
    EXPECT_EQ(text(utcFields(4102444800)), "2100-01-01 00:00:00 5/0");
    for (const int64_t t : {int64_t{-2082848400}, int64_t{-1}, int64_t{0}, int64_t{951782400}, int64_t{4102444800}})
        EXPECT_EQ(fromUtcFields(utcFields(t)), t);
}

TEST(utcFields, FieldsBeyondTheirRangeCarry)
{
    EXPECT_EQ(fromUtcFields(fields(1904, 1, 1, -1, 0, 0)), -2082848400);
    EXPECT_EQ(fromUtcFields(fields(2023, 13, 1, 0, 0, 0)), fromUtcFields(fields(2024, 1, 1, 0, 0, 0)));
    EXPECT_EQ(fromUtcFields(fields(2024, 3, 0, 0, 0, 0)), fromUtcFields(fields(2024, 2, 29, 0, 0, 0)));
    EXPECT_EQ(fromUtcFields(fields(2024, 1, 1, 0, 0, -1)), fromUtcFields(fields(2023, 12, 31, 23, 59, 59)));
}

TEST(localFields, BeforeNineteenSeventyInMoscow)
{
    const ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    std::tm local{};
    ASSERT_TRUE(localFields(-100000, local));
    EXPECT_EQ(text(local), "1969-12-30 23:13:20 2/363");
    EXPECT_EQ(local.tm_isdst, 0);
    EXPECT_EQ(fromLocalFields(fields(1969, 12, 30, 23, 13, 20)), -100000);
    EXPECT_EQ(fromLocalFields(fields(2024, 6, 10, 9, 13, 20, -1)), 1718000000);
}

TEST(localFields, StandardAndSummerTimeInBerlin)
{
    const ScopedTimeZone zone("Europe/Berlin");
    SKIP_UNLESS_IN_ZONE(zone);
    const int64_t utcNoon = fromUtcFields(fields(2024, 7, 1, 12, 0, 0));
    std::tm local{};
    ASSERT_TRUE(localFields(static_cast<int32_t>(utcNoon), local));
    EXPECT_EQ(text(local), "2024-07-01 14:00:00 1/182");
    EXPECT_EQ(local.tm_isdst, 1);
    // The same fields read as standard time, as summer time, and as whichever was in force.
    EXPECT_EQ(fromLocalFields(fields(2024, 7, 1, 14, 0, 0, 0)), utcNoon + 3600);
    EXPECT_EQ(fromLocalFields(fields(2024, 7, 1, 14, 0, 0, 1)), utcNoon);
    EXPECT_EQ(fromLocalFields(fields(2024, 7, 1, 14, 0, 0, -1)), utcNoon);
    ASSERT_TRUE(localFields(static_cast<int32_t>(fromUtcFields(fields(2024, 1, 15, 12, 0, 0))), local));
    EXPECT_EQ(text(local), "2024-01-15 13:00:00 1/14");
    EXPECT_EQ(local.tm_isdst, 0);
    EXPECT_EQ(presentStandardOffset(), 3600);
}

}  // namespace
