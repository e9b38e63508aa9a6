#include "view/classification.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "view/rawPoints.h"

const float kpLimits[4] = {0.125f, 0.25f, 0.5f, 1.0f};
const uint32_t cycleLimits[9] = {16000,  32000,  63000,   125000, 250000,
                                 500000, 1000000, 2000000, 4000000};
const uint32_t hourLimits[9] = {200, 400, 800, 1600, 3200, 6300, 12500, 25000, 50000};

namespace {

// A value equal to a limit falls into the higher regime.
int loadRegime(float Kp)
{
    int Q = 4;
    for (int i = 3; i >= 0 && kpLimits[i] > Kp; --i)
        Q = i + 1;
    return Q;
}

// The smallest class whose limit lies above the value; 9 from the last limit on.
int classFromLimits(const uint32_t (&limits)[9], float value)
{
    if (value >= static_cast<float>(limits[8]))
        return 9;
    int c = 0;
    for (int j = 8; j >= 0 && static_cast<float>(limits[j]) > value; --j)
        c = j;
    return c;
}

// Scales what the recorder counted since its installation up to the whole service life. An
// installation at the moment of the readout has observed nothing to scale: the factor is 1.
float lifeFactorOf(uint32_t workMaxSeconds, int32_t timeStamp, int32_t regiSince)
{
    const double observed = std::difftime(timeStamp, regiSince);
    if (observed == 0)
        return 1;
    const float factor = static_cast<float>(workMaxSeconds / observed);
    return factor < 1 ? 1 : factor;
}

// The share of the cycles admitted by the highest utilisation class that the passport group
// allows at the actual load regime. The product is taken in 64 bits: above 42,949,672 cycles
// (possible in a data file) it would wrap in 32 bits and show a worn-out crane as almost unused.
int usedResource(uint32_t cyclesTotal, uint8_t workMaxGrp, int Q)
{
    const int k = std::clamp(workMaxGrp - Q + 2, 0, 8);
    const uint64_t share = uint64_t{cyclesTotal} * 100 / cycleLimits[k];
    return static_cast<int>(std::min<uint64_t>(share, 100));
}

// The latest end of a graph (its start plus its last point's time); false when no graph has points.
bool latestGraphEnd(const devLink& crane, int64_t& end)
{
    bool found = false;
    for (const cycLink* g = firstGraph(crane); g; g = nextGraph(g)) {
        const std::size_t n = rawPointCount(*g);
        if (n == 0)
            continue;
        const int64_t graphEnd = int64_t{g->timeStamp} + rawPointTime(*g, n - 1);
        if (!found || graphEnd > end)
            end = graphEnd;
        found = true;
    }
    return found;
}

// Adds one graph's switch-ons and running seconds of the mechanism with the given state bit. A
// mechanism counts as running until the graph's last state sample.
void addGraphActivity(const cycLink& graph, uint8_t bit, mechanismActivity& activity)
{
    constexpr uint16_t none = 0xFFFF;
    bool wasOn = false;
    uint16_t onAt = none;
    uint16_t last = 0;
    const std::size_t n = rawPointCount(graph);
    for (std::size_t i = 0; i < n; ++i) {
        const uint8_t value = rawPointValue(graph, i);
        if (isLoadSample(value))
            continue;
        const bool isOn = (value & bit) != 0;
        if (!wasOn && isOn) {
            ++activity.switchOns;
            onAt = rawPointTime(graph, i);
        }
        last = rawPointTime(graph, i);
        if (wasOn && !isOn) {
            activity.onSeconds += last - onAt;
            onAt = none;
        }
        wasOn = isOn;
    }
    if (onAt != none)
        activity.onSeconds += last - onAt;
}

// Switching of each mechanism in the hour before the latest graph end. Only graphs that start
// within that hour count, each of them whole.
void lastHourActivity(const devLink& crane, mechanismActivity (&activity)[hourCounterCount])
{
    int64_t end = 0;
    if (!latestGraphEnd(crane, end))
        return;
    const int64_t windowStart = end - 3600;
    for (int m = 0; m < hourCounterCount; ++m) {
        const uint8_t bit = static_cast<uint8_t>(1 << m);
        for (const cycLink* g = firstGraph(crane); g; g = nextGraph(g))
            if (g->timeStamp >= windowStart)
                addGraphActivity(*g, bit, activity[m]);
        activity[m].percent = activity[m].onSeconds / 36;
    }
}

}  // namespace

classification classify(const devLink& crane)
{
    classification c;
    c.Kp = crane.cyclesTotal == 0 ? 0.0f : crane.cubeSum / static_cast<float>(crane.cyclesTotal);
    c.Q = loadRegime(c.Kp);
    c.shownKp = static_cast<float>(std::floor(c.Kp * 1000.0f + 0.5) / 1000);
    c.lifeFactor = lifeFactorOf(crane.workMaxSeconds, crane.timeStamp, crane.regiSince);
    c.N = static_cast<float>(crane.cyclesTotal) * c.lifeFactor;
    c.U = classFromLimits(cycleLimits, c.N);
    for (int m = 0; m < hourCounterCount; ++m) {
        c.estimatedHours[m] = crane.hourCounter[m] * c.lifeFactor;
        c.T[m] = classFromLimits(hourLimits, c.estimatedHours[m]);
    }
    c.A = std::clamp(c.Q + c.U - 2, 1, 8);
    c.resource = usedResource(crane.cyclesTotal, crane.workMaxGrp, c.Q);
    lastHourActivity(crane, c.activity);
    return c;
}
