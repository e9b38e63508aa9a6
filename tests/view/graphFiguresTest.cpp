#include "view/graphFigures.h"

#include <gtest/gtest.h>

#include "tests/view/testGraphs.h"
#include "view/rawPoints.h"

namespace {

constexpr float capacity = 12.5f;

TEST(graphFigures, GraphEntirelyAboveTheRatedLoad)
{
    // Samples 5 s apart hold their load: 110 % for 5 s, then 120 % for 5 s.
    const graphFigures f =
        figuresOf(*graphOf(1000, {{0, load(110)}, {5, load(120)}, {10, load(105)}, {12, 0x03}}), capacity);
    EXPECT_EQ(f.start, 1000);
    EXPECT_EQ(f.durationSeconds, 12);   // to the last point, whatever its kind
    EXPECT_EQ(f.peakPercent, 120);
    EXPECT_DOUBLE_EQ(f.peakTonnes, 15.0);
    EXPECT_DOUBLE_EQ(f.secondsAbove100, 10.0);
    EXPECT_EQ(f.mechanismsRan, 0x03);
    EXPECT_EQ(f.limiterTrips, 0);
    EXPECT_TRUE(isOverload(f));
}

TEST(graphFigures, LoadCrossingTheRatedLoadManyTimes)
{
    // 90 and 110 % alternating every 10 s, held: four stretches of 10 s above. Then a sloped
    // stretch of 1 s from 95 to 105 %: half of it above. Exactly 100 % is not above.
    const graphFigures f = figuresOf(*graphOf(0, {{0, load(90)},  {10, load(110)}, {20, load(90)},
                                                  {30, load(110)}, {40, load(90)}, {50, load(110)},
                                                  {60, load(90)},  {70, load(110)}, {80, load(95)},
                                                  {81, load(105)}, {82, load(95)}, {90, load(100)},
                                                  {99, load(100)}}),
                                     capacity);
    EXPECT_DOUBLE_EQ(f.secondsAbove100, 4 * 10 + 0.5 + 0.5);
    EXPECT_EQ(f.peakPercent, 110);
    EXPECT_DOUBLE_EQ(f.peakTonnes, 13.75);

    const graphFigures atRated = figuresOf(*graphOf(0, {{0, load(100)}, {50, load(100)}}), capacity);
    EXPECT_EQ(atRated.secondsAbove100, 0);
    EXPECT_FALSE(isOverload(atRated));
}

TEST(graphFigures, GraphWithoutLoadSamples)
{
    const graphFigures f = figuresOf(*graphOf(0, {{3, 0x01}, {9, 0x41}, {20, 0x00}}), capacity);
    EXPECT_EQ(f.peakPercent, 0);
    EXPECT_EQ(f.peakTonnes, 0);
    EXPECT_EQ(f.secondsAbove100, 0);
    EXPECT_EQ(f.durationSeconds, 20);
    EXPECT_EQ(f.limiterTrips, 1);
    EXPECT_TRUE(isOverload(f));   // the limiter tripped

    const graphFigures empty = figuresOf(cycLink{}, capacity);
    EXPECT_EQ(empty.durationSeconds, 0);
    EXPECT_EQ(empty.mechanismsRan, 0);
}

TEST(graphFigures, LimiterTripsAndMechanisms)
{
    // Tripped at 10 s (and still at 20 s with mechanism 1 on), reset at 30 s, tripped again at 40 s.
    const graphFigures f = figuresOf(
        *graphOf(0, {{0, load(50)}, {10, 0x40}, {20, 0x41}, {30, 0x20}, {40, 0x44}, {50, load(60)}}),
        capacity);
    EXPECT_EQ(f.limiterTrips, 2);
    EXPECT_EQ(f.mechanismsRan, 0x25);   // mechanisms 1, 3 and 6
}

TEST(graphFigures, SixteenBitTimeWrap)
{
    // 110 % from 65530 s; the offsets wrap after 65535, so 2 is 65538 s from the start: the load
    // held 8 s above the rated load, and the graph ran 65548 s.
    const graphFigures f =
        figuresOf(*graphOf(0, {{65530, load(110)}, {65534, load(110)}, {2, load(90)}, {12, 0x01}}),
                  capacity);
    EXPECT_DOUBLE_EQ(f.secondsAbove100, 8.0);
    EXPECT_EQ(f.durationSeconds, 65548);

    // A short step back is a point out of order, not 18 hours passing; it adds no time.
    const graphFigures back =
        figuresOf(*graphOf(0, {{100, load(110)}, {90, load(120)}, {110, load(50)}}), capacity);
    EXPECT_EQ(back.durationSeconds, 110);
    EXPECT_DOUBLE_EQ(back.secondsAbove100, 20.0);   // 120 % held from 90 s to 110 s

    pointClock clock;
    EXPECT_EQ(clock.secondsOf(40000), 40000);
    EXPECT_EQ(clock.secondsOf(8000), 8000);   // 32000 back: out of order, no wrap
    EXPECT_EQ(clock.secondsOf(65535), 65535);
    EXPECT_EQ(clock.secondsOf(0), 65536);
    EXPECT_EQ(clock.secondsOf(65535), 131071);
    EXPECT_EQ(clock.secondsOf(1), 131073);
}

// A crane whose graphs are the given count, with the recorder's counts.
std::vector<graphStore> storesFor(int graphs, int cntN, int cntE)
{
    devLink crane;
    crane.cntN = static_cast<uint8_t>(cntN);
    crane.cntE = static_cast<uint8_t>(cntE);
    for (int i = 0; i < graphs; ++i)
        crane.graphs.pushBack(graphOf(0, {{0, load(10)}}).release());
    return storesOf(crane);
}

TEST(graphFigures, StoreFromCountsAndReadingOrder)
{
    using S = graphStore;
    EXPECT_EQ(storesFor(5, 3, 2), (std::vector<S>{S::ordinary, S::ordinary, S::ordinary, S::overload,
                                                  S::overload}));
    // One graph dropped: it may have been the last ordinary or any overload graph.
    EXPECT_EQ(storesFor(4, 3, 2), (std::vector<S>{S::ordinary, S::ordinary, S::unknown, S::overload}));
    EXPECT_EQ(storesFor(2, 0, 2), (std::vector<S>{S::overload, S::overload}));
    EXPECT_EQ(storesFor(3, 3, 0), (std::vector<S>{S::ordinary, S::ordinary, S::ordinary}));
    // More graphs than announced (a data file without the counts): nothing is known.
    EXPECT_EQ(storesFor(2, 0, 0), (std::vector<S>{S::unknown, S::unknown}));
    // Many dropped: only the positions from cntN on are certain.
    EXPECT_EQ(storesFor(3, 2, 30), (std::vector<S>{S::unknown, S::unknown, S::overload}));
}

}  // namespace
