#include "data/devLink.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A graph of raw points {time, value byte}.
std::unique_ptr<cycLink> graphOf(std::initializer_list<std::pair<uint16_t, uint8_t>> points)
{
    auto graph = std::make_unique<cycLink>();
    cycLink& g = *graph;
    for (const auto& [time, value] : points) {
        g.Points.push_back(static_cast<uint8_t>(time >> 8));
        g.Points.push_back(static_cast<uint8_t>(time));
        g.Points.push_back(value);
    }
    g.Npoints = static_cast<uint16_t>(points.size());
    g.decodePoints();
    return graph;
}

TEST(decodePoints, SplitsLoadAndStateSamplesInOrder)
{
    const auto graph = graphOf({{0, 0x80}, {0, 0x03}, {300, 0xFF}, {0x1234, 0x7F}, {0xFFFF, 0xC1}});
    const cycLink& g = *graph;
    ASSERT_EQ(g.loadCount(), 3);
    ASSERT_EQ(g.eventCount(), 2);
    EXPECT_EQ(g.loadPoints[0].time, 0u);
    EXPECT_EQ(g.loadPoints[0].load, 0.0f);     // 0x80: load sample of 0 %
    EXPECT_EQ(g.loadPoints[1].time, 300u);
    EXPECT_EQ(g.loadPoints[1].load, 127.0f);   // 0xFF: 127 %
    EXPECT_EQ(g.loadPoints[2].time, 65535u);   // time is unsigned big-endian
    EXPECT_EQ(g.loadPoints[2].load, 65.0f);
    EXPECT_EQ(g.eventPoints[0].state, 0x03);
    EXPECT_EQ(g.eventPoints[1].time, 0x1234u);
    EXPECT_EQ(g.eventPoints[1].state, 0x7F);   // 0x7F: state sample
}

TEST(decodePoints, KeepsOnlyGraphsWithMoreThanThreeLoadSamples)
{
    EXPECT_FALSE(graphOf({{0, 0x01}, {1, 0x02}, {2, 0x40}, {3, 0x00}, {4, 0x3F}})->worthKeeping());
    EXPECT_FALSE(graphOf({{0, 0x81}, {1, 0x82}, {2, 0x83}, {3, 0x01}})->worthKeeping());
    EXPECT_TRUE(graphOf({{0, 0x81}, {1, 0x82}, {2, 0x83}, {3, 0x84}})->worthKeeping());
}

TEST(decodePoints, RedecodingReplacesAndShortBuffersAreNotOverrun)
{
    auto graph = graphOf({{0, 0x81}, {1, 0x82}});
    cycLink& g = *graph;
    g.decodePoints();
    EXPECT_EQ(g.loadCount(), 2);  // not doubled
    g.Npoints = 5;                // claims more points than the buffer holds
    g.decodePoints();
    EXPECT_EQ(g.loadCount(), 2);
}

TEST(peakLoad, LargestLoadSampleOrZero)
{
    EXPECT_EQ(peakLoad(*graphOf({{0, 0x85}, {1, 0x87}, {2, 0x7F}, {3, 0x81}})), 7);
    EXPECT_EQ(peakLoad(*graphOf({{0, 0x40}, {1, 0x3F}})), 0);
    EXPECT_EQ(peakLoad(cycLink{}), 0);
}

TEST(devLink, DestructionDeletesItsGraphs)
{
    struct CountedGraph : cycLink {
        explicit CountedGraph(int* d) : deletions(d) {}
        ~CountedGraph() override { ++*deletions; }
        int* deletions;
    };
    int deletions = 0;
    {
        aList cranes;
        auto* crane = new devLink;
        crane->graphs.pushBack(new CountedGraph(&deletions));
        crane->graphs.pushBack(new CountedGraph(&deletions));
        cranes.pushBack(crane);
    }
    EXPECT_EQ(deletions, 2);
}

}  // namespace
