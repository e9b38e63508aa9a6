#include "bench/benchCranes.h"

#include <random>
#include <string>

#include "data/devLink.h"

namespace {

constexpr int craneCount = 50;
constexpr int graphsPerCrane = 60;
constexpr int pointsPerGraph = 1000;

}  // namespace

const aList& sampleCranes()
{
    static aList cranes;
    if (!cranes.empty())
        return cranes;
    std::mt19937 random(1);
    for (int c = 0; c < craneCount; ++c) {
        auto* crane = new devLink;
        crane->regNo = std::to_string(1000 + c);
        crane->name = crane->regNo + " 01/02/2024 03:04:05";
        crane->serNo = "\xC7\xE0\xE2-" + std::to_string(c);
        crane->invNo = "17/" + std::to_string(c);
        crane->timeStamp = 1706756645 + c;
        crane->maxWeight = 12.5f;
        crane->workMaxSeconds = 3153600000u;
        crane->cubeSum = static_cast<float>(random()) / 977.0f;
        crane->cyclesTotal = random() & 0xFFFFFF;
        for (uint32_t& cycles : crane->cycles)
            cycles = random() & 0xFFFFFF;
        for (float& hours : crane->hourCounter)
            hours = static_cast<float>(random() % 400000) / 3600.0f;
        crane->weightTotal = static_cast<float>(random()) / 3.0f;
        for (int g = 0; g < graphsPerCrane; ++g) {
            auto* graph = new cycLink;
            graph->timeStamp = 1706700000 + g * 600;
            graph->Npoints = pointsPerGraph;
            for (int p = 0; p < pointsPerGraph; ++p) {
                const uint8_t value = p % 4 ? static_cast<uint8_t>(0x80 | (random() % 128)) : random() % 0x80;
                graph->Points.insert(graph->Points.end(), {uint8_t(p * 2 >> 8), uint8_t(p * 2), value});
            }
            graph->decodePoints();
            crane->graphs.pushBack(graph);
        }
        cranes.pushBack(crane);
    }
    return cranes;
}
