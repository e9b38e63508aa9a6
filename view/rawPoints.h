// Access to a graph's raw 3-byte points (16-bit big-endian seconds, value byte), bounded by the
// bytes the graph really holds whatever Npoints claims.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "data/devLink.h"
#include "link/codings.h"

inline std::size_t rawPointCount(const cycLink& graph)
{
    return std::min<std::size_t>(graph.Npoints, graph.Points.size() / 3);
}

inline uint16_t rawPointTime(const cycLink& graph, std::size_t i) { return getBe16(&graph.Points[3 * i]); }

inline uint8_t rawPointValue(const cycLink& graph, std::size_t i) { return graph.Points[3 * i + 2]; }

inline bool isLoadSample(uint8_t value) { return (value & loadSampleBit) != 0; }

// The seconds of a graph's points from its start, with the 16-bit offsets unwrapped. The recorder
// writes points as time goes on and counts their offsets modulo 65536, so a point whose offset
// lies more than half that range below its predecessor's has wrapped, and 65536 s are added from
// it on. A smaller step back (a point out of order in a damaged record) is no wrap: the point keeps
// its own offset and no time is taken to pass before it.
class pointClock {
public:
    int64_t secondsOf(uint16_t offset)
    {
        if (started && offset + 32768 < previous)
            wraps += 65536;
        started = true;
        previous = offset;
        return wraps + offset;
    }

private:
    bool started = false;
    int previous = 0;
    int64_t wraps = 0;
};
