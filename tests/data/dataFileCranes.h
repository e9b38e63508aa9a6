// Cranes for the data-file tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "data/devLink.h"

namespace datatest {

inline cycLink* graphOf(int32_t timeStamp, std::initializer_list<std::pair<uint16_t, uint8_t>> points)
{
    auto* graph = new cycLink;
    graph->timeStamp = timeStamp;
    for (const auto& [time, value] : points)
        graph->Points.insert(graph->Points.end(), {uint8_t(time >> 8), uint8_t(time), value});
    graph->Npoints = static_cast<uint16_t>(points.size());
    graph->decodePoints();
    return graph;
}

inline devLink* smallCrane()
{
    auto* crane = new devLink;
    crane->name = "12 01/02/2024 03:04:05";
    crane->regNo = "12";
    crane->serNo = "\xC7-5";
    crane->invNo = "\"q\"";
    crane->timeStamp = 1706756645;
    crane->regiSince = -1;
    crane->maxWeight = 12.5f;
    crane->workMaxSeconds = 3153600000u;  // 100 years: above 2^31
    crane->workMaxYears = 100;
    crane->workMaxGrp = 5;
    crane->cubeSum = 0.1f;
    crane->cyclesTotal = 10;
    crane->cycles[0] = 1;
    crane->cycles[3] = 4;
    crane->hourCounter[0] = 0.5f;
    crane->hourCounter[5] = 1e-5f;
    crane->weightTotal = 1234567;
    crane->cntN = 1;
    crane->adcZS = 20;
    crane->adcFZS = 200;
    crane->ogpH = 110;
    crane->ogpL = 90;
    crane->graphs.pushBack(graphOf(1706756000, {{0, 0x81}, {1, 0x82}, {0x0102, 0x83}, {0xFFFF, 0xAB}}));
    return crane;
}

}  // namespace datatest
