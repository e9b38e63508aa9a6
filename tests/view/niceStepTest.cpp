#include "view/niceStep.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/reportLog.h"

namespace {

struct stepCase {
    float max;
    float min;
    int n;
    float step;
    float newMax;
    float newMin;
};

TEST(niceStep, RoundsToOneTwoOrFiveAndWidensTheRange)
{
    const reportLog::fresh reports;
    const stepCase cases[] = {
        {34, 0, 10, 2, 34, 0},        // 3.4 -> "3e+00" -> 2
        {36, 0, 10, 5, 40, 0},        // 3.6 -> "4e+00" -> 5
        {74, 0, 10, 5, 75, 0},        // 7.4 -> 5
        {86, 0, 10, 10, 90, 0},       // 8.6 -> "9e+00" -> 1, times 10
        {3, 0, 10, 1, 3, 0},          // 0.3 -> never below 1
        {127, 3, 12, 10, 130, 0},     // 10.33 -> 10: 3..127 becomes 0..130
        {25000, 0, 10, 2000, 26000, 0},   // 2500 -> "2e+03" (even at the tie, as printf)
        {1.5f, -2.5f, 1, 5, 5, -5},   // 4 -> 5
        {5, 0, 0, 5, 5, 0},           // no interval fits: one interval
        {5, 0, -3, 5, 5, 0},
    };
    for (const stepCase& c : cases) {
        float max = c.max;
        float min = c.min;
        EXPECT_EQ(niceStep(max, min, c.n, reportLog::error), c.step) << c.max << " " << c.min << " " << c.n;
        EXPECT_EQ(max, c.newMax) << c.max;
        EXPECT_EQ(min, c.newMin) << c.min;
    }
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST(niceStep, ZeroSpanReportsAndFallsBackToOne)
{
    const reportLog::fresh reports;
    float max = 7;
    float min = 7;
    EXPECT_EQ(niceStep(max, min, 4, reportLog::error), 1.0f);
    EXPECT_EQ(max, 7.0f);
    EXPECT_EQ(min, 7.0f);
    ASSERT_EQ(reportLog::errors.size(), 1u);
    EXPECT_EQ(reportLog::errors[0], "sprintf failure: 0.000000, [7.000000, 7.000000]");
}

TEST(niceStep, RangesThatAreNotFiniteStayAsTheyAre)
{
    const reportLog::fresh reports;
    float max = NAN;
    float min = 0;
    EXPECT_EQ(niceStep(max, min, 4, reportLog::error), 1.0f);
    EXPECT_TRUE(std::isnan(max));
    EXPECT_EQ(min, 0.0f);
    max = 3e38f;
    min = -3e38f;   // the span overflows
    EXPECT_EQ(niceStep(max, min, 1, reportLog::error), 1.0f);
    EXPECT_EQ(max, 3e38f);
    EXPECT_EQ(min, -3e38f);
}

}  // namespace
