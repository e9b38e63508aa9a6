// Time to write and to read a data file of 50 cranes with 60 graphs of 1,000 points each
// (about 18 MB): the text alone, and through a real file (the save includes flushing it to the
// disk). Opening also reports its peak memory: the growth of the resident set over the read, as
// a multiple of the file's size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include <malloc.h>

#include "data/dataFile.h"
#include "bench/benchCranes.h"
#include "data/devLink.h"

namespace {

void ignoreReport(const char*, ...) {}

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
