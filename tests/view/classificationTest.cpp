#include "view/classification.h"

#include <gtest/gtest.h>

#include "tests/view/testGraphs.h"

namespace {

// A crane observed for one year with no service life given: the life factor is 1.
struct crane : devLink {
    crane()
    {
        regiSince = 1600000000;
        timeStamp = regiSince + 31536000;
    }
    void addGraph(int32_t start, std::initializer_list<rawPoint> points)
    {
        graphs.pushBack(graphOf(start, points).release());
    }
};

TEST(classification, LoadRegimeFromTheUnroundedFactor)
{
    struct {
        float cubeSum;
        uint32_t cycles;
        int Q;
        float shown;
    } cases[] = {
        {0, 0, 1, 0},                // no cycles: Kp 0
        {124.9f, 1000, 1, 0.125f},
        {125, 1000, 2, 0.125f},      // on a limit: the higher regime
        {2496, 10000, 2, 0.25f},     // shown as 0.250, classed below 0.25
        {250, 1000, 3, 0.25f},
        {500, 1000, 4, 0.5f},
        {1300, 1000, 4, 1.3f},
    };
    for (const auto& c : cases) {
        crane d;
        d.cubeSum = c.cubeSum;
        d.cyclesTotal = c.cycles;
        const classification r = classify(d);
        EXPECT_EQ(r.Q, c.Q) << c.cubeSum << "/" << c.cycles;
        EXPECT_EQ(r.shownKp, c.shown) << c.cubeSum << "/" << c.cycles;
    }
}

TEST(classification, UtilisationAndMechanismClassesAtTheirLimits)
{
    const std::pair<uint32_t, int> cycles[] = {
        {0, 0}, {15999, 0}, {16000, 1}, {3999999, 8}, {4000000, 9}, {16000000, 9}};
    for (const auto& [n, U] : cycles) {
        crane d;
        d.cyclesTotal = n;
        EXPECT_EQ(classify(d).U, U) << n;
    }
    crane d;
    const float hours[hourCounterCount] = {199.9f, 200, 49999, 50000, 0, 1e9f};
    const int T[hourCounterCount] = {0, 1, 8, 9, 0, 9};
    std::copy(hours, hours + hourCounterCount, d.hourCounter);
    const classification r = classify(d);
    for (int m = 0; m < hourCounterCount; ++m)
        EXPECT_EQ(r.T[m], T[m]) << hours[m];
}

TEST(classification, LifeFactorScalesCyclesAndHours)
{
    crane d;
    d.workMaxSeconds = 10 * 31536000;   // ten years' life, one year observed
    d.cyclesTotal = 3000;
    d.hourCounter[2] = 25;
    classification r = classify(d);
    EXPECT_EQ(r.lifeFactor, 10.0f);
    EXPECT_EQ(r.N, 30000.0f);
    EXPECT_EQ(r.U, 1);
    EXPECT_EQ(r.estimatedHours[2], 250.0f);
    EXPECT_EQ(r.T[2], 1);

    d.workMaxSeconds = 1000;   // observed longer than the life: never below the counts
    EXPECT_EQ(classify(d).lifeFactor, 1.0f);
    d.timeStamp = d.regiSince - 5000;   // clock before the installation: negative ratio
    EXPECT_EQ(classify(d).lifeFactor, 1.0f);
    d.timeStamp = d.regiSince;   // installed at the readout: nothing observed to scale
    d.workMaxSeconds = 10 * 31536000;
    r = classify(d);
    EXPECT_EQ(r.lifeFactor, 1.0f);
    EXPECT_EQ(r.N, 3000.0f);
}

TEST(classification, CraneGroupIsClamped)
{
    struct {
        float kp;
        uint32_t cycles;
        int A;
    } cases[] = {
        {0.0f, 1000, 1},       // Q1 U0: 1 + 0 - 2 raised to 1
        {0.0f, 32000, 1},      // Q1 U2
        {0.6f, 1000, 2},       // Q4 U0
        {0.3f, 300000, 6},     // Q3 U5
        {0.2f, 4000000, 8},    // Q2 U9
        {0.6f, 4000000, 8},    // Q4 U9: 11 lowered to 8
    };
    for (const auto& c : cases) {
        crane d;
        d.cyclesTotal = c.cycles;
        d.cubeSum = c.kp * static_cast<float>(c.cycles);
        EXPECT_EQ(classify(d).A, c.A) << c.kp << " " << c.cycles;
    }
}

TEST(classification, UsedResourceAtThePassportGroupsLimit)
{
    struct {
        uint8_t group;
        float kp;
        uint32_t cycles;
        int resource;
    } cases[] = {
        {5, 0.3f, 125000, 50},     // Q3: k = 4, limit 250000
        {5, 0.3f, 300000, 100},    // 120 lowered to 100
        {5, 0.3f, 249999, 99},     // rounded down
        {0, 0.6f, 8000, 50},       // Q4: k clamped to 0, limit 16000
        {8, 0.0f, 2000000, 50},    // Q1: k clamped to 8, limit 4000000
        {5, 0.3f, 0, 0},
        // Beyond 42,949,672 cycles the product needs more than 32 bits; the crane is used up.
        {5, 0.3f, 42949673, 100},
        {1, 0.6f, 0xFFFFFFFFu, 100},
    };
    for (const auto& c : cases) {
        crane d;
        d.workMaxGrp = c.group;
        d.cyclesTotal = c.cycles;
        d.cubeSum = c.kp * static_cast<float>(c.cycles);
        EXPECT_EQ(classify(d).resource, c.resource) << int{c.group} << " " << c.cycles;
    }
}

TEST(lastHourActivity, SwitchOnsAndRunningSecondsOfStateSamples)
{
    crane d;
    d.addGraph(1000, {
                         {0, load(10)},
                         {0, 0x01},         // mechanism 1 runs from the first state sample
                         {600, load(0x01)}, // a load sample never changes a state
                         {900, 0x00},       // off: 900 s
                         {1200, 0x03},      // 1 on again, 2 on
                         {1800, 0x02},      // 1 off: 600 s more
                         {2000, load(5)},   // 2 still runs at the last state sample: 600 s
                     });
    const classification r = classify(d);
    EXPECT_EQ(r.activity[0].switchOns, 2);
    EXPECT_EQ(r.activity[0].onSeconds, 1500);
    EXPECT_EQ(r.activity[0].percent, 41);
    EXPECT_EQ(r.activity[1].switchOns, 1);
    EXPECT_EQ(r.activity[1].onSeconds, 600);
    EXPECT_EQ(r.activity[1].percent, 16);
    for (int m = 2; m < hourCounterCount; ++m)
        EXPECT_EQ(r.activity[m].switchOns + r.activity[m].onSeconds, 0) << m;
}

TEST(lastHourActivity, OnlyGraphsStartingWithinTheHourBeforeTheLatestEndCount)
{
    crane d;
    const int32_t end = 2000000000;
    // Starts 3601 s before the end and runs into the last hour: skipped whole.
    d.addGraph(end - 3601, {{0, load(1)}, {0, 0x04}, {3000, 0x00}, {3500, 0x04}, {3601, load(1)}});
    // Starts exactly at the window: counted. Ends earlier than the latest graph.
    d.addGraph(end - 3600, {{0, load(1)}, {0, 0x04}, {1800, 0x00}, {1900, load(1)}});
    // The latest end; its last point (a load sample) fixes the end whatever its kind.
    d.addGraph(end - 100, {{0, load(1)}, {10, 0x08}, {40, 0x00}, {100, load(1)}});
    // A graph without points neither ends anything nor counts.
    d.graphs.pushBack(new cycLink);
    const classification r = classify(d);
    EXPECT_EQ(r.activity[2].switchOns, 1);
    EXPECT_EQ(r.activity[2].onSeconds, 1800);
    EXPECT_EQ(r.activity[2].percent, 50);
    EXPECT_EQ(r.activity[3].onSeconds, 30);

    crane empty;
    empty.graphs.pushBack(new cycLink);
    const classification none = classify(empty);
    for (const mechanismActivity& a : none.activity)
        EXPECT_EQ(a.switchOns + a.onSeconds + a.percent, 0);
}

TEST(lastHourActivity, PointCountBeyondTheBytesHeldIsBounded)
{
    crane d;
    auto graph = graphOf(5000, {{0, load(1)}, {0, 0x01}, {50, 0x00}});
    graph->Npoints = 60000;
    d.graphs.pushBack(graph.release());
    EXPECT_EQ(classify(d).activity[0].onSeconds, 50);
}

}  // namespace
