// Time to write and to read a data file of 50 cranes with 60 graphs of 1,000 points each
// (about 18 MB): the text alone, and through a real file (the save includes flushing it to the
// disk). Opening also reports its peak memory: the growth of the resident set over the read, as
// a multiple of the file's size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include <malloc.h>

#include "data/dataFile.h"
#include "data/devLink.h"

namespace {

constexpr int craneCount = 50;
constexpr int graphsPerCrane = 60;
constexpr int pointsPerGraph = 1000;

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

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
double statusKb(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, field.size() + 1, field + ":") == 0)
            return std::stod(line.substr(field.size() + 1));
    return 0;
}

// Returns freed memory to the system and restarts the peak resident set from the current one.
void resetPeak()
{
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

void readFile(benchmark::State& state)
{
    const std::size_t fileBytes = dataFileText(sampleCranes()).size();
    writeDataFile(benchFile(), sampleCranes(), ignoreReport);
    double peakGrowthKb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetPeak();
        const double before = statusKb("VmRSS");
        state.ResumeTiming();
        {
            aList cranes;
            if (readDataFile(benchFile(), cranes, ignoreReport) != DataFileResult::ok)
                state.SkipWithError("the file does not read back");
            state.PauseTiming();
            peakGrowthKb = std::max(peakGrowthKb, statusKb("VmHWM") - before);
        }
        state.ResumeTiming();
    }
    std::remove(benchFile().c_str());
    state.counters["peakMB"] = peakGrowthKb * 1024 / 1e6;
    state.counters["peak/file"] = peakGrowthKb * 1024 / static_cast<double>(fileBytes);
}

}  // namespace

BENCHMARK(writeText)->Unit(benchmark::kMillisecond);
BENCHMARK(writeFile)->Unit(benchmark::kMillisecond);
BENCHMARK(readText)->Unit(benchmark::kMillisecond);
BENCHMARK(readFile)->Unit(benchmark::kMillisecond);
