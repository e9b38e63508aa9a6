// The crane data model: one devLink per crane read, one cycLink per recorded load graph.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/aList.h"

// A decoded load sample: seconds since the graph's start, load in percent of the rated load.
struct loadPoint {
    uint32_t time;
    float load;
};

// A decoded state sample: bits 0..5 mechanisms 1..6 running, bit 6 the load limiter tripped.
struct eventPoint {
    uint32_t time;
    uint8_t state;
};

constexpr int cycleCounterCount = 5;   // Q1..Q4, then cycles with overload
constexpr int hourCounterCount = 6;    // mechanisms 1..6
constexpr int graphsPerKind = 30;      // ordinary and overload graph stores of the recorder
constexpr uint8_t loadSampleBit = 0x80;
constexpr uint8_t limiterStateBit = 0x40;

// One recorded load graph. Points holds 3 bytes per point: a big-endian 16-bit time offset in
// seconds and a value byte (bit 7 set: load sample in bits 0..6; clear: state word).
class cycLink : public aLink {
public:
    int32_t timeStamp = 0;
    uint16_t Npoints = 0;
    std::vector<uint8_t> Points;
    std::vector<loadPoint> loadPoints;
    std::vector<eventPoint> eventPoints;

    int32_t loadCount() const { return static_cast<int32_t>(loadPoints.size()); }
    int32_t eventCount() const { return static_cast<int32_t>(eventPoints.size()); }

    // Rebuilds loadPoints and eventPoints from the first 3 * Npoints bytes of Points.
    void decodePoints();
    // Both producers keep a graph only when it has more than three load samples.
    bool worthKeeping() const { return loadCount() > 3; }
};

// Largest load in percent over the graph's load samples, 0 when it has none.
int peakLoad(const cycLink& graph);

// One crane's data set as read from its recorder or from a data file. Texts hold raw
// Windows-1251 bytes; times are calendar seconds; array elements count from 0.
class devLink : public aLink {
public:
    aList graphs;   // of cycLink, in reading order
    std::string name;
    std::string regNo;
    std::string serNo;
    std::string invNo;
    int32_t timeStamp = 0;
    int32_t workSince = 0;
    int32_t regiSince = 0;
    float maxWeight = 0;
    uint32_t workMaxSeconds = 0;
    uint8_t workMaxYears = 0;
    uint8_t workMaxGrp = 0;
    float cubeSum = 0;
    uint32_t cyclesTotal = 0;
    uint32_t cycles[cycleCounterCount] = {};
    float hourCounter[hourCounterCount] = {};
    float weightTotal = 0;
    uint8_t cntN = 0;
    uint8_t cntE = 0;
    uint8_t adcZS = 0;
    uint8_t adcFZS = 0;
    uint8_t ogpH = 0;
    uint8_t ogpL = 0;
    int32_t Ncycles = 0;
};

// Typed forward traversal of the model's lists.
inline devLink* firstCrane(const aList& cranes) { return static_cast<devLink*>(cranes.head); }
inline devLink* nextCrane(const devLink* crane) { return static_cast<devLink*>(crane->next); }
inline cycLink* firstGraph(const devLink& crane) { return static_cast<cycLink*>(crane.graphs.head); }
inline cycLink* nextGraph(const cycLink* graph) { return static_cast<cycLink*>(graph->next); }
