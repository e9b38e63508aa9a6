#include "view/graphFigures.h"

#include <algorithm>

#include "view/rawPoints.h"

namespace {

constexpr int ratedLoad = 100;

// Seconds of one stretch between two load samples that lie above the rated load.
double secondsAbove(int64_t fromTime, int fromLoad, int64_t toTime, int toLoad)
{
    const int64_t span = toTime - fromTime;
    if (span <= 0)
        return 0;
    if (span > 2)   // held at the earlier load
        return fromLoad > ratedLoad ? static_cast<double>(span) : 0;
    const int high = std::max(fromLoad, toLoad);
    const int low = std::min(fromLoad, toLoad);
    if (high <= ratedLoad)
        return 0;
    if (low > ratedLoad)
        return static_cast<double>(span);
    return static_cast<double>(span) * (high - ratedLoad) / (high - low);
}

}  // namespace

graphFigures figuresOf(const cycLink& graph, float maxWeight)
{
    graphFigures f;
    f.start = graph.timeStamp;
    pointClock clock;
    bool haveLoad = false;
    int64_t lastLoadTime = 0;
    int lastLoad = 0;
    uint8_t lastState = 0;
    const std::size_t n = rawPointCount(graph);
    for (std::size_t i = 0; i < n; ++i) {
        const int64_t t = clock.secondsOf(rawPointTime(graph, i));
        const uint8_t value = rawPointValue(graph, i);
        f.durationSeconds = std::max(f.durationSeconds, t);
        if (isLoadSample(value)) {
            const int load = value & 0x7F;
            if (haveLoad)
                f.secondsAbove100 += secondsAbove(lastLoadTime, lastLoad, t, load);
            f.peakPercent = std::max(f.peakPercent, load);
            haveLoad = true;
            lastLoadTime = t;
            lastLoad = load;
        } else {
            if ((value & limiterStateBit) && !(lastState & limiterStateBit))
                ++f.limiterTrips;
            f.mechanismsRan |= value & 0x3F;
            lastState = value;
        }
    }
    f.peakTonnes = static_cast<double>(maxWeight) * f.peakPercent / 100;
    return f;
}

bool isOverload(const graphFigures& figures)
{
    return figures.peakPercent > ratedLoad || figures.limiterTrips > 0;
}

std::vector<graphStore> storesOf(const devLink& crane)
{
    std::vector<graphStore> stores;
    for (const cycLink* g = firstGraph(crane); g; g = nextGraph(g))
        stores.push_back(graphStore::unknown);
    const int held = static_cast<int>(stores.size());
    const int announced = crane.cntN + crane.cntE;
    if (held > announced)
        return stores;
    const int dropped = announced - held;
    for (int i = 0; i < held; ++i) {
        if (i < crane.cntN - dropped)
            stores[i] = graphStore::ordinary;
        else if (i >= crane.cntN)
            stores[i] = graphStore::overload;
    }
    return stores;
}
