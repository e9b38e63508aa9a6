#include "view/graphOptions.h"

#include <gtest/gtest.h>

#include "tests/support/reportLog.h"
#include "tests/view/testGraphs.h"
#include "view/cursorReadout.h"
#include "view/graphLayout.h"
#include "tests/support/timeZone.h"

namespace {

TEST(graphOptions, FixedLoadScaleSpansZeroTo125InWholeSteps)
{
    EXPECT_EQ(fixedLoadStep(1), 125.0f);
    EXPECT_EQ(fixedLoadStep(4), 125.0f);
    EXPECT_EQ(fixedLoadStep(5), 25.0f);
    EXPECT_EQ(fixedLoadStep(24), 25.0f);
    EXPECT_EQ(fixedLoadStep(25), 5.0f);

    // Loads of 30..40 % would be scaled to their own range; the fixed scale ignores them.
    const auto graph = graphOf(0, {{0, load(30)}, {60, load(40)}});
    const drawingArea screen{800, 600};
    const textMetrics metrics{8, 16, 20};
    const auto fitted = scaleGraph(*graph, screen, metrics, graphSizesFor(screen), 24, reportLog::error);
    const auto fixed =
        scaleGraph(*graph, screen, metrics, graphSizesFor(screen), 24, reportLog::error, true);
    EXPECT_EQ(fitted->loadMin, 30.0f);
    EXPECT_EQ(fitted->loadMax, 40.0f);
    EXPECT_EQ(fixed->loadMin, 0.0f);
    EXPECT_EQ(fixed->loadMax, 125.0f);
    EXPECT_EQ(fixed->stepL, 25.0f);   // (600 - 144 - 20 - 24) / 16 / 4 = 6 intervals at most
    EXPECT_EQ(fixed->timeMax, fitted->timeMax);
    EXPECT_EQ(loadMarks(*fixed, graphSizesFor(screen)).size(), 5u);   // 0, 25, 50, 75, 100

    // The level lines run across the plot where their load lies on the axis.
    const auto hundred = levelLineAt(*fixed, 100);
    ASSERT_TRUE(hundred);
    EXPECT_EQ(hundred->from.x, fixed->plotLeft);
    EXPECT_EQ(hundred->to.x, fixed->plotRight);
    EXPECT_EQ(hundred->from.y, fixed->Y(100));
    EXPECT_FALSE(levelLineAt(*fitted, 100));
    EXPECT_TRUE(levelLineAt(*fitted, 40));
}

TEST(graphOptions, LevelLinesOfTheCrane)
{
    devLink crane;
    crane.ogpH = 110;
    crane.ogpL = 95;
    const std::vector<levelLine> lines = levelLinesOf(crane);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].kind, levelKind::rated);
    EXPECT_EQ(lines[0].percent, 100);
    EXPECT_EQ(lines[1].kind, levelKind::limiterTrip);
    EXPECT_EQ(lines[1].percent, 110);
    EXPECT_EQ(lines[2].kind, levelKind::limiterReset);
    EXPECT_EQ(lines[2].percent, 95);

    crane.ogpH = crane.ogpL = 0;   // levels never set: only the rated load
    EXPECT_EQ(levelLinesOf(crane).size(), 1u);
}

TEST(graphOptions, CursorInClockTimeAndTonnes)
{
    ScopedTimeZone zone("UTC");
    SKIP_UNLESS_IN_ZONE(zone);
    EXPECT_EQ(cursorClockText(1230768000, 3725.4f), "01:02:05");   // 1 January 2009, 00:00:00
    EXPECT_EQ(cursorTonnesText(74, 12.5f), "9.25 т");
    EXPECT_EQ(cursorTonnesText(0, 12.5f), "0.00 т");
}

}  // namespace
