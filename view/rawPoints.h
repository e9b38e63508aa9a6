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
