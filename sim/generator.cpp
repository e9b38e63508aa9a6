#include "sim/generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

#include "data/cp1251.h"
#include "data/devLink.h"
#include "platform/localTime.h"
#include "sim/liftingCycle.h"
#include "sim/random.h"

namespace {

constexpr int32_t day = 86400;
constexpr int regimes = 4;

// A cycle falls into regime Qn when the cube of its relative load k lies in the band of the
// load-spectrum limits (k^3 below 0.125 is Q1, below 0.25 Q2, below 0.5 Q3, else Q4).
constexpr double bandLow[regimes] = {0.10, 0.50, 0.63, 0.794};
constexpr double bandHigh[regimes] = {0.50, 0.63, 0.794, 1.00};

// Shares of the regimes for a light, medium, heavy and very heavy duty crane.
constexpr double dutyProfiles[][regimes] = {
    {0.80, 0.12, 0.06, 0.02},
    {0.45, 0.25, 0.20, 0.10},
    {0.25, 0.20, 0.30, 0.25},
    {0.10, 0.10, 0.25, 0.55},
};

constexpr unsigned capacities[] = {5, 8, 10, 12, 16, 20, 25, 32, 40, 50, 63, 80, 100, 125, 160, 200, 250, 320};
constexpr uint8_t serviceLives[] = {10, 15, 20, 25, 30};
const char* const regNoPrefixes[] = {"", "Р-", "К-", "ТК-", "ПК-"};

// Mean of k and of k^3 for k spread evenly over a regime's band.
double meanLoad(int q) { return (bandLow[q] + bandHigh[q]) / 2; }
double meanCube(int q)
{
    return (std::pow(bandHigh[q], 4) - std::pow(bandLow[q], 4)) / (4 * (bandHigh[q] - bandLow[q]));
}

template <typename T, std::size_t N>
const T& pick(simRandom& random, const T (&items)[N])
{
    return items[random.range(0, N - 1)];
}

std::string cp1251(const std::string& utf8)
{
    std::string bytes;
    utf8ToCp1251(utf8, bytes);
    return bytes;
}

std::string numberText(const char* format, long value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

int32_t localMidnight(int32_t t)
{
    tm local{};
    localFields(t, local);
    local.tm_hour = local.tm_min = local.tm_sec = 0;
    local.tm_isdst = -1;
    return static_cast<int32_t>(fromLocalFields(local));
}

uint32_t clamp24(double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, double(0xFFFFFF))); }
uint32_t clamp32(double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, double(0xFFFFFFFFu))); }

int drawRegime(simRandom& random, const double (&shares)[regimes])
{
    double r = random.uniform();
    for (int q = 0; q < regimes - 1; ++q) {
        if (r < shares[q])
            return q;
        r -= shares[q];
    }
    return regimes - 1;
}

void passport(craneSpec& c, simRandom& random, int32_t readout)
{
    c.regNo = cp1251(pick(random, regNoPrefixes)) + numberText("%ld", random.range(1000, 99999));
    c.serNo = random.chance(0.5) ? numberText("%ld", random.range(100, 999999))
                                 : numberText("%ld", random.range(10, 999)) + numberText("/%02ld", random.range(1, 99));
    c.invNo = random.chance(0.5) ? numberText("%06ld", random.range(1, 999999))
                                 : cp1251("ИН") + numberText("%05ld", random.range(1, 99999));
    c.workSince = localMidnight(readout - static_cast<int32_t>(random.range(365, 20 * 365)) * day);
    const int32_t latest = readout - 90 * day, earliest = c.workSince + 30 * day;
    c.regiSince = localMidnight(static_cast<int32_t>(random.range(earliest, std::max(earliest, latest))));
    c.capacityTonnes = pick(random, capacities);
    c.fullCode = static_cast<uint8_t>(random.range(180, 240));
    c.zeroCode = static_cast<uint8_t>(random.range(8, 40));
    c.serviceYears = pick(random, serviceLives);
    c.group = static_cast<uint8_t>(random.range(3, 7));
    c.ogpH = static_cast<uint8_t>(random.range(103, 110));
    c.ogpL = static_cast<uint8_t>(c.ogpH - random.range(4, 10));
}

void counters(craneSpec& c, simRandom& random, const double (&shares)[regimes], unsigned mechanisms)
{
    const double days = double(c.readout - c.regiSince) / day;
    const double total = days * random.range(10, 90) * random.between(0.8, 1.2);
    double cubes = 0, loads = 0;
    for (int q = 0; q < regimes; ++q) {
        c.cycles[q] = clamp24(total * shares[q] * random.between(0.9, 1.1));
        cubes += c.cycles[q] * meanCube(q);
        loads += c.cycles[q] * meanLoad(q);
    }
    c.cycles[4] = clamp24(total * random.between(0.0005, 0.004)) + static_cast<uint32_t>(random.range(0, 5));
    loads += c.cycles[4] * random.between(1.05, 1.2);
    c.cubeSum = cubes * random.between(0.97, 1.03);
    c.loadSum = clamp32(loads * c.fullCode);
    const double cycles = c.cycles[0] + c.cycles[1] + c.cycles[2] + c.cycles[3] + c.cycles[4];
    for (unsigned m = 0; m < mechanisms; ++m)
        c.hourSeconds[m] = clamp32(cycles * (m == 0 ? random.between(60, 120) : random.between(10, 55)));
}

struct recordedCycle {
    byteString points;
    int32_t start = 0;
};

recordedCycle cycle(simRandom& random, const craneSpec& c, unsigned mechanisms, uint8_t peak, bool overload)
{
    cycleSetup setup;
    setup.mechanisms = mechanisms;
    setup.peakLoad = peak;
    setup.hookLoad = static_cast<uint8_t>(random.range(1, 4));
    setup.overload = overload;
    setup.ogpH = c.ogpH;
    setup.ogpL = c.ogpL;
    return {liftingCyclePoints(random, setup), 0};
}

// The graph stores: the latest ordinary cycles just before the readout, the overload cycles
// spread over the weeks before them. A store that has wrapped round holds 30 graphs, its
// flag set and its count byte at the ring position.
void graphs(craneSpec& c, simRandom& random, const double (&shares)[regimes], unsigned mechanisms)
{
    const uint32_t ordinaryCycles = c.cycles[0] + c.cycles[1] + c.cycles[2] + c.cycles[3];
    const uint32_t storeSize = graphsPerKind;
    const uint32_t ordinary = ordinaryCycles >= storeSize && random.chance(0.85)
                                  ? storeSize
                                  : std::min<uint32_t>(ordinaryCycles, random.range(4, storeSize - 1));
    const uint32_t overload = std::min(c.cycles[4], storeSize);

    std::vector<recordedCycle> latest;
    for (uint32_t i = 0; i < ordinary; ++i) {
        const int q = drawRegime(random, shares);
        const auto peak = static_cast<uint8_t>(std::lround(100 * random.between(bandLow[q], bandHigh[q])));
        latest.push_back(cycle(random, c, mechanisms, peak, false));
    }
    int32_t end = c.readout - static_cast<int32_t>(random.range(60, 900));
    for (auto it = latest.rbegin(); it != latest.rend(); ++it) {
        it->start = end - static_cast<int32_t>(cycleDuration(it->points));
        end = it->start - static_cast<int32_t>(random.range(30, 1200));
    }

    std::vector<recordedCycle> overloads;
    int32_t start = std::max(c.regiSince + day, end - static_cast<int32_t>(overload) * 2 * day);
    for (uint32_t i = 0; i < overload; ++i) {
        const auto peak = static_cast<uint8_t>(random.range(c.ogpH + 2, std::min(127, c.ogpH + 25)));
        overloads.push_back(cycle(random, c, mechanisms, peak, true));
        start += static_cast<int32_t>(random.range(3600, 2 * day - 3600));
        overloads.back().start = start;
        start += static_cast<int32_t>(cycleDuration(overloads.back().points));
    }

    for (const auto& g : latest)
        c.graphs[0].push_back(graphRecord(g.start, g.points));
    for (const auto& g : overloads)
        c.graphs[1].push_back(graphRecord(g.start, g.points));
    const uint32_t total = ordinaryCycles;
    c.graphCounts = std::array<uint8_t, 3>{
        static_cast<uint8_t>(ordinary == storeSize ? total % storeSize : ordinary),
        static_cast<uint8_t>(overload == storeSize ? c.cycles[4] % storeSize : overload),
        static_cast<uint8_t>((ordinary == storeSize ? 1 : 0) | (overload == storeSize ? 2 : 0))};
}

}  // namespace

craneSpec generateCrane(uint64_t seed, unsigned index, int32_t readout)
{
    simRandom random(seed * 0x2545F4914F6CDD1DULL + index);
    craneSpec c;
    c.readout = readout;
    const auto& shares = pick(random, dutyProfiles);
    const auto mechanisms = static_cast<unsigned>(random.range(3, 6));
    passport(c, random, readout);
    counters(c, random, shares, mechanisms);
    graphs(c, random, shares, mechanisms);
    return c;
}

simContent generateContent(uint64_t seed, deviceKind kind, unsigned slots, int32_t now)
{
    simContent content;
    content.kind = kind;
    content.identifier = defaultIdentifier(kind);
    content.clock = now;
    simRandom random(seed);
    content.loadCode = static_cast<uint8_t>(random.range(20, 200));
    if (kind == deviceKind::recorder) {
        content.slots.push_back(buildSlot(generateCrane(seed, 0, now)));
        return content;
    }
    int64_t readout = now - int64_t{slots} * 2 * day;
    for (unsigned i = 0; i < slots; ++i) {
        readout += random.range(day, 2 * day);
        content.slots.push_back(buildSlot(generateCrane(seed, i, static_cast<int32_t>(std::min<int64_t>(readout, now - 600)))));
    }
    return content;
}
