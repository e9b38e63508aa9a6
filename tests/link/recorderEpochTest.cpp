// Recorder second counters as calendar times, in zones with and without daylight saving.
#include <gtest/gtest.h>

#include "data/timeText.h"
#include "link/codings.h"
#include "tests/support/timeZone.h"

namespace {

class RecorderEpoch : public ::testing::TestWithParam<const char*> {};

TEST_P(RecorderEpoch, CounterOf2009IsNewYearsMidnightLocal)
{
    const ScopedTimeZone zone(GetParam());
    SKIP_UNLESS_IN_ZONE(zone);
    EXPECT_EQ(dateTimeText(recorderTime(3313616400u, computeRecorderEpoch())), "01/01/2009 00:00:00");
}

TEST_P(RecorderEpoch, SumWrapsModulo2To32)
{
    const ScopedTimeZone zone(GetParam());
    SKIP_UNLESS_IN_ZONE(zone);
    const int32_t epoch = computeRecorderEpoch();
    // The largest counter lands beyond 2^31 - 1 before wrapping; the result is the signed view.
    const uint32_t counter = 0xFFFFFFFFu;
    EXPECT_EQ(recorderTime(counter, epoch), static_cast<int32_t>(counter + static_cast<uint32_t>(epoch)));
    EXPECT_EQ(recorderTime(0, epoch), epoch);
}

INSTANTIATE_TEST_SUITE_P(Zones, RecorderEpoch,
                         ::testing::Values("UTC", "Europe/Moscow", "Europe/Berlin", "Asia/Yekaterinburg"));

// Moscow keeps UTC+3 today; in 1903 its local mean time was +2:30:17. The base must follow the
// present offset so that recorder counters agree with recorder clocks.
TEST(RecorderEpochValue, UsesThePresentStandardOffsetNotLocalMeanTime)
{
    const ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    EXPECT_EQ(computeRecorderEpoch(), -2082848400 - 3 * 3600);
}

TEST(RecorderEpochValue, UsesStandardTimeInAZoneWithDaylightSaving)
{
    const ScopedTimeZone zone("Europe/Berlin");
    SKIP_UNLESS_IN_ZONE(zone);
    EXPECT_EQ(computeRecorderEpoch(), -2082848400 - 3600);
}

}  // namespace
