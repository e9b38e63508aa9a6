// Time to write and to read a data file of 50 cranes with 60 graphs of 300 points each: the
// text alone, and through a real file (the save includes flushing it to the disk).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "data/dataFile.h"
#include "data/devLink.h"

namespace {

constexpr int craneCount = 50;
constexpr int graphsPerCrane = 60;
constexpr int pointsPerGraph = 300;

void ignoreReport(const char*, ...) {}

// Cranes with every field set and graphs of load samples mixed with state samples.
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

std::string benchFile() { return "dataFileBench.brx"; }

void writeText(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = dataFileText(sampleCranes()).size();
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void writeFile(benchmark::State& state)
{
    for (auto _ : state)
        if (!writeDataFile(benchFile(), sampleCranes(), ignoreReport))
            state.SkipWithError("cannot write the file");
}

void readText(benchmark::State& state)
{
    const std::string text = dataFileText(sampleCranes());
    for (auto _ : state) {
        aList cranes;
        if (readDataText(text, cranes, ignoreReport) != DataFileResult::ok)
            state.SkipWithError("the file does not read back");
    }
}

void readFile(benchmark::State& state)
{
    writeDataFile(benchFile(), sampleCranes(), ignoreReport);
    for (auto _ : state) {
        aList cranes;
        if (readDataFile(benchFile(), cranes, ignoreReport) != DataFileResult::ok)
            state.SkipWithError("the file does not read back");
    }
    std::remove(benchFile().c_str());
}

}  // namespace

BENCHMARK(writeText)->Unit(benchmark::kMillisecond);
BENCHMARK(writeFile)->Unit(benchmark::kMillisecond);
BENCHMARK(readText)->Unit(benchmark::kMillisecond);
BENCHMARK(readFile)->Unit(benchmark::kMillisecond);
