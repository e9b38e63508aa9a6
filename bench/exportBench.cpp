// Time to export every crane of the data-file benchmark's cranes (50 cranes, 3,000 graphs) to CSV
// and HTML into a folder: a CSV file per graph, or one per crane, the summary and a protocol per
// crane, written as a set and flushed to the disk once; and the whole of brennix-export --csv
// --html, from reading the data file on.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench/benchCranes.h"
#include "data/dataFile.h"
#include "data/devLink.h"
#include "export/exportWriter.h"

namespace {

void ignoreReport(const char*, ...) {}

std::vector<const devLink*> cranesOf(const aList& list)
{
    std::vector<const devLink*> all;
    for (const devLink* crane = firstCrane(list); crane; crane = nextCrane(crane))
        all.push_back(crane);
    return all;
}

// Every export goes into a folder of its own, removed only when all benchmarks have run: the file
// system slows down the creation of files in the seconds after thousands were deleted, which
// would be measured instead of the export.
std::vector<std::string>& foldersWritten()
{
    static std::vector<std::string> folders;
    return folders;
}

std::string newFolder()
{
    std::vector<std::string>& folders = foldersWritten();
    folders.push_back("exportBench-" + std::to_string(::getpid()) + "-" + std::to_string(folders.size()));
    std::filesystem::create_directory(folders.back());
    return folders.back();
}

void exportAll(benchmark::State& state, bool perGraph, bool fromFile)
{
    const std::string dataFile = "exportBench-" + std::to_string(::getpid()) + ".brx";
    if (fromFile)
        writeDataFile(dataFile, sampleCranes(), ignoreReport);
    exportChoice choice;
    choice.csv = choice.summary = choice.html = true;
    choice.csvPerGraph = perGraph;
    std::size_t files = 0;
    std::string folder;
    for (auto _ : state) {
        state.PauseTiming();
        folder = newFolder();
        state.ResumeTiming();
        aList read;
        if (fromFile && readDataFile(dataFile, read, ignoreReport) != DataFileResult::ok)
            state.SkipWithError("the data file does not read");
        const std::vector<const devLink*> cranes = cranesOf(fromFile ? read : sampleCranes());
        const std::vector<exportFile> plan = exportPlan(cranes, choice);
        if (!writeExport(folder, plan, cranes, choice, nullptr, ignoreReport))
            state.SkipWithError("the export failed");
        files = plan.size();
    }
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        bytes += entry.file_size();
    std::filesystem::remove(dataFile);
    state.counters["files"] = static_cast<double>(files);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void csvPerGraphAndHtml(benchmark::State& state) { exportAll(state, true, false); }
void csvPerCraneAndHtml(benchmark::State& state) { exportAll(state, false, false); }
void dataFileToCsvPerGraphAndHtml(benchmark::State& state) { exportAll(state, true, true); }

}  // namespace

BENCHMARK(csvPerGraphAndHtml)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(csvPerCraneAndHtml)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(dataFileToCsvPerGraphAndHtml)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::string& folder : foldersWritten())
        std::filesystem::remove_all(folder);
    return 0;
}
