#include "export/csvText.h"

#include <gtest/gtest.h>

#include "data/timeText.h"
#include "export/sampleCsv.h"
#include "tests/support/timeZone.h"
#include "tests/view/testGraphs.h"

namespace {

TEST(csvText, FieldsQuotedNumbersWithTheChosenSeparator)
{
    std::string out;
    {
        csvRow row(out, csvFormat{','});
        row.text("Мех 1").text("a;b").text("say \"hi\"").integer(-42).number(9.125, 3).empty().number(2.5, 0);
    }
    {
        csvRow row(out, csvFormat{'.'});
        row.number(16, 2).text("two\nlines");
    }
    EXPECT_EQ(out, "Мех 1;\"a;b\";\"say \"\"hi\"\"\";-42;9,125;;2\r\n16.00;\"two\nlines\"\r\n");
}

// Rows follow each other by seconds through a change of daylight saving time: the clock text of
// every second is the one the C library gives.
TEST(csvText, ClockTimeOfEverySecondAcrossDaylightSavingTime)
{
    ScopedTimeZone zone("Europe/Berlin");
    SKIP_UNLESS_IN_ZONE(zone);
    clockText clock;
    const int64_t start = 1711846800 - 5000;   // 31 March 2024, 03:00 summer time at 1711846800
    for (int64_t t = start; t < start + 10000; t += 7)
        ASSERT_EQ(std::string(clock.dateTime(t)), localTimeText(static_cast<int32_t>(t), "%d.%m.%Y %H:%M:%S"))
            << t;
    EXPECT_EQ(clockText::date(0), "01.01.1970");
}

TEST(csvText, SamplesOfOneSecondMakeOneRow)
{
    ScopedTimeZone zone("UTC");
    SKIP_UNLESS_IN_ZONE(zone);
    devLink crane;
    crane.maxWeight = 10;
    const auto graph = graphOf(86400, {{0, 0x41}, {0, load(20)}, {3, load(110)}, {3, 0x00}, {5, 0x02}});
    EXPECT_EQ(graphSamplesCsv(crane, *graph, csvFormat{}),
              "\xEF\xBB\xBF"
              "Время;Секунды от начала;Нагрузка, %;Нагрузка, т;Мех 1;Мех 2;Мех 3;Мех 4;Мех 5;Мех 6;ОГП\r\n"
              "02.01.1970 00:00:00;0;20;2,000;1;0;0;0;0;0;1\r\n"
              "02.01.1970 00:00:03;3;110;11,000;0;0;0;0;0;0;0\r\n"
              "02.01.1970 00:00:05;5;110;11,000;0;1;0;0;0;0;0\r\n");
}

}  // namespace
