#include "view/cursorReadout.h"

#include <gtest/gtest.h>

#include "tests/view/testGraphs.h"

namespace {

std::unique_ptr<cycLink> sampleGraph()
{
    return graphOf(0, {{0, load(10)},
                       {0, 0x01},
                       {10, load(20)},
                       {12, load(41)},
                       {13, load(0)},
                       {14, load(50)},
                       {20, 0x41},
                       {30, load(60)}});
}

TEST(cursorReadout, LoadOnBetweenAndAfterTheSamples)
{
    const auto graph = sampleGraph();
    struct {
        float t;
        int load;
    } cases[] = {
        {0, 10},
        {5, 10},      // 10 s apart: the earlier sample is held
        {10, 20},     // exactly on a sample
        {11, 31},     // 2 s apart: (20 + 41) / 2 = 30.5, rounded half up
        {11.9f, 40},   // 39.95
        {14, 50},
        {20, 50},     // held over the 16 s to the next sample
        {30, 60},
        {45, 60},     // after the last sample
        // A later sample of 0 % does not end the search: at 12.5 s the sample at 14 s (50 %)
        // is taken, 2 s after the one at 12 s.
        {12.5f, 43},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readingAt(*graph, c.t).load, c.load) << c.t;
}

TEST(cursorReadout, StateOfTheLastStateSampleUpToTheTime)
{
    const auto graph = sampleGraph();
    EXPECT_EQ(readingAt(*graph, 0).state, 0x01);
    EXPECT_EQ(readingAt(*graph, 19.5f).state, 0x01);
    EXPECT_EQ(readingAt(*graph, 20).state, 0x41);
    EXPECT_EQ(readingAt(*graphOf(0, {{0, load(1)}, {5, 0x02}}), 4).state, 0);   // none yet
}

TEST(cursorReadout, PointerColumnToTime)
{
    const auto graph = sampleGraph();
    graphScale scale{};
    scale.plotLeft = 100;
    scale.plotRight = 400;
    scale.timeMin = 0;
    scale.timeMax = 30;
    const auto inside = readCursor(*graph, scale, 210);   // 11 s
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->time, 11.0f);
    EXPECT_EQ(inside->load, 31);
    EXPECT_TRUE(readCursor(*graph, scale, 400));
    EXPECT_FALSE(readCursor(*graph, scale, 99));
    EXPECT_FALSE(readCursor(*graph, scale, 401));
    scale.plotRight = scale.plotLeft;   // no width: no time under any column
    EXPECT_FALSE(readCursor(*graph, scale, 100));
    EXPECT_FALSE(readCursor(*graph, scale, 101));
}

TEST(cursorReadout, PointCountBeyondTheBytesHeldIsBounded)
{
    auto graph = graphOf(0, {{0, load(10)}, {1, load(12)}});
    graph->Npoints = 5000;
    EXPECT_EQ(readingAt(*graph, 0.5f).load, 11);
    graph->Points.clear();
    EXPECT_EQ(readingAt(*graph, 0.5f).load, 0);
}

TEST(cursorReadout, TextsAndLamps)
{
    EXPECT_EQ(cursorTimeText(13.4f), "13с");
    EXPECT_EQ(cursorTimeText(65535), "65535с");
    EXPECT_EQ(cursorLoadText(31), "31%");
    EXPECT_EQ(cursorLoadText(0), "0%");

    EXPECT_EQ(mechanismLamp(6, 0x00, 0x20), lampColour::blue);
    EXPECT_FALSE(mechanismLamp(2, 0x01, 0x41));   // only a changed bit changes its lamp
    EXPECT_EQ(limiterLamp(0x40, 0x01), lampColour::green);
}

}  // namespace
