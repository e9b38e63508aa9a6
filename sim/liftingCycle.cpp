#include "sim/liftingCycle.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "data/devLink.h"
#include "link/codings.h"

namespace {

constexpr uint8_t hoistBit = 0x01;

class cycleRecorder {
public:
    cycleRecorder(simRandom& random, double load) : random(random), load(load)
    {
        setState(0);
        sample();
    }

    void setState(uint8_t s)
    {
        state = s;
        add(state);
    }
    uint8_t currentState() const { return state; }

    // Samples for the given seconds while the load moves evenly to target within ramp seconds
    // (at once when ramp is 0) and then stays there.
    void run(unsigned seconds, double target, unsigned ramp = 0)
    {
        const unsigned samples = std::max(1u, seconds / step);
        const double perSample = (target - load) / std::max(1u, ramp / step);
        for (unsigned i = 0; i < samples; ++i) {
            time += step;
            load = perSample > 0 ? std::min(target, load + perSample) : std::max(target, load + perSample);
            sample();
        }
    }

    byteString points;

private:
    void sample()
    {
        const double swing = random.between(-1.2, 1.2);
        add(static_cast<uint8_t>(loadSampleBit | std::clamp<long>(std::lround(load + swing), 0, 127)));
    }
    void add(uint8_t value)
    {
        points.push_back(static_cast<uint8_t>(time >> 8));
        points.push_back(static_cast<uint8_t>(time));
        points.push_back(value);
    }

    static constexpr unsigned step = 1;   // seconds between load samples
    simRandom& random;
    double load;
    uint32_t time = 0;
    uint8_t state = 0;
};

// Mechanisms 2..count move the load: up to `most` of them start one after another, then stop.
void moveLoad(cycleRecorder& rec, simRandom& random, unsigned count, unsigned most, double load)
{
    std::vector<uint8_t> bits;
    for (unsigned m = 1; m < count; ++m)
        bits.push_back(static_cast<uint8_t>(1u << m));
    for (std::size_t i = bits.size(); i > 1; --i)
        std::swap(bits[i - 1], bits[random.range(0, static_cast<int64_t>(i) - 1)]);
    bits.resize(std::min<std::size_t>(bits.size(), random.range(1, most)));
    for (const uint8_t bit : bits) {
        rec.setState(rec.currentState() | bit);
        rec.run(random.range(15, 80), load);
    }
    for (const uint8_t bit : bits) {
        rec.setState(rec.currentState() & ~bit);
        rec.run(random.range(4, 20), load);
    }
}

// Lifting into an overload: the limiter trips at ogpH and stops the hoist; the load is lowered
// again, and the limiter resets below ogpL.
void overloadLift(cycleRecorder& rec, simRandom& random, const cycleSetup& s)
{
    const unsigned rise = random.range(10, 30);   // a heavy load is taken up slowly
    const unsigned toTrip = std::max(1u, rise * (s.ogpH - s.hookLoad) / (s.peakLoad - s.hookLoad));
    rec.run(toTrip, s.ogpH, toTrip);
    rec.setState(limiterStateBit);
    rec.run(random.range(3, 6), s.peakLoad, 2);
    rec.run(random.range(15, 40), s.peakLoad);
    rec.setState(limiterStateBit | hoistBit);
    const unsigned settle = random.range(2, 5);
    rec.run(settle, s.ogpL - 2, settle);
    rec.setState(hoistBit);
    rec.run(random.range(3, 8), s.hookLoad, 3);
    rec.setState(0);
}

void ordinaryLift(cycleRecorder& rec, simRandom& random, const cycleSetup& s)
{
    const unsigned rise = random.range(4, 10);
    rec.run(rise, s.peakLoad, rise);
    rec.run(random.range(20, 60), s.peakLoad);
    rec.setState(0);
    moveLoad(rec, random, s.mechanisms, 3, s.peakLoad);
    rec.setState(hoistBit);
    rec.run(random.range(10, 40), s.peakLoad);
    const unsigned setDown = random.range(3, 8);
    rec.run(setDown, s.hookLoad, setDown);
    rec.setState(0);
}

}  // namespace

byteString liftingCyclePoints(simRandom& random, const cycleSetup& setup)
{
    cycleRecorder rec(random, setup.hookLoad);
    rec.run(random.range(10, 30), setup.hookLoad);
    rec.setState(hoistBit);
    if (setup.overload)
        overloadLift(rec, random, setup);
    else
        ordinaryLift(rec, random, setup);
    rec.run(random.range(5, 20), setup.hookLoad);
    moveLoad(rec, random, setup.mechanisms, 2, setup.hookLoad);
    rec.run(random.range(8, 20), setup.hookLoad);
    return std::move(rec.points);
}

unsigned cycleDuration(const byteString& points)
{
    return points.size() >= 3 ? getBe16(&points[points.size() - 3]) : 0;
}
