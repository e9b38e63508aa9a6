// Graphs built from raw points {seconds, value byte} for the view tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>

#include "data/devLink.h"

using rawPoint = std::pair<uint16_t, uint8_t>;

inline std::unique_ptr<cycLink> graphOf(int32_t timeStamp, std::initializer_list<rawPoint> points)
{
    auto graph = std::make_unique<cycLink>();
    graph->timeStamp = timeStamp;
    for (const auto& [time, value] : points) {
        graph->Points.push_back(static_cast<uint8_t>(time >> 8));
        graph->Points.push_back(static_cast<uint8_t>(time));
        graph->Points.push_back(value);
    }
    graph->Npoints = static_cast<uint16_t>(points.size());
    graph->decodePoints();
    return graph;
}

// A load sample byte of the given percent.
constexpr uint8_t load(int percent) { return static_cast<uint8_t>(0x80 | percent); }
