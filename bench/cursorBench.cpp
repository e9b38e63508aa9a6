// Cursor readout on a graph of 21,000 points, as each mouse motion over the drawing runs it.
#include <benchmark/benchmark.h>

#include "view/cursorReadout.h"

namespace {

// Load samples every second with a state sample every tenth second.
void fillLongGraph(cycLink& graph, int points)
{
    for (int i = 0; i < points; ++i) {
        const int t = i - i / 11;
        const uint8_t value = (i % 11 == 10) ? static_cast<uint8_t>(i & 0x3F)
                                             : static_cast<uint8_t>(0x80 | (i % 100));
        graph.Points.push_back(static_cast<uint8_t>(t >> 8));
        graph.Points.push_back(static_cast<uint8_t>(t));
        graph.Points.push_back(value);
    }
    graph.Npoints = static_cast<uint16_t>(points);
    graph.decodePoints();
}

void cursorReadout(benchmark::State& state)
{
    cycLink graph;
    fillLongGraph(graph, static_cast<int>(state.range(0)));
    graphScale scale{};
    scale.plotLeft = 60;
    scale.plotRight = 1860;
    scale.timeMin = 0;
    scale.timeMax = static_cast<float>(graph.loadPoints.back().time);
    int x = scale.plotLeft;
    for (auto _ : state) {
        benchmark::DoNotOptimize(readCursor(graph, scale, x));
        x = x < scale.plotRight ? x + 7 : scale.plotLeft;
    }
}
BENCHMARK(cursorReadout)->Arg(21000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
