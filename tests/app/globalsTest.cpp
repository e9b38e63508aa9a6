#include "app/globals.h"

#include <gtest/gtest.h>

#include "data/timeText.h"
#include "tests/support/timeZone.h"

namespace {


class RecorderEpoch : public ::testing::TestWithParam<const char*> {};

TEST_P(RecorderEpoch, CounterOf2009IsNewYearsMidnightLocal)
{
    ScopedTimeZone zone(GetParam());
    recorderEpoch = computeRecorderEpoch();
    EXPECT_EQ(dateTimeText(recorderTime(3313616400u)), "01/01/2009 00:00:00");
}

TEST_P(RecorderEpoch, SumWrapsModulo2To32)
{
    ScopedTimeZone zone(GetParam());
    recorderEpoch = computeRecorderEpoch();
    // The largest counter lands beyond 2^31 - 1 before wrapping; the result is the signed view.
    const uint32_t counter = 0xFFFFFFFFu;
    const int32_t expected = static_cast<int32_t>(counter + static_cast<uint32_t>(recorderEpoch));
    EXPECT_EQ(recorderTime(counter), expected);
    EXPECT_EQ(recorderTime(0), recorderEpoch);
}

INSTANTIATE_TEST_SUITE_P(Zones, RecorderEpoch,
                         ::testing::Values("UTC", "Europe/Moscow", "Europe/Berlin", "Asia/Yekaterinburg"));

TEST(RecorderEpochValue, UsesThePresentStandardOffsetNotLocalMeanTime)
{
    // Moscow keeps UTC+3 today; in 1903 its local mean time was +2:30:17. The base must
    // follow the present offset so recorder counters agree with recorder clocks.
    ScopedTimeZone zone("Europe/Moscow");
    EXPECT_EQ(computeRecorderEpoch(), -2082848400 - 3 * 3600);
    ScopedTimeZone berlin("Europe/Berlin");
    EXPECT_EQ(computeRecorderEpoch(), -2082848400 - 3600);
}

}  // namespace
