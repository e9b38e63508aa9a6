// Filling the main window's lists from a large data file: the crane selector with many cranes,
// and the graph list with one crane of many graphs, each time until the window has handled what
// the filling caused. Needs a display (run it under xvfb-run) and the run directory's bmps/.
#include <benchmark/benchmark.h>

#include <string>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

#include "app/BrennixApp.h"
#include "app/MainFrame.h"
#include "data/devLink.h"

wxIMPLEMENT_APP_NO_MAIN(BrennixApp);

namespace {

cycLink* graphAt(int32_t timeStamp)
{
    auto* graph = new cycLink;
    graph->timeStamp = timeStamp;
    graph->Points = {0, 0, 0x81, 0, 1, 0x82, 0, 2, 0x83, 0, 3, 0x84};
    graph->Npoints = 4;
    graph->decodePoints();
    return graph;
}

devLink* craneNamed(const std::string& regNo, int graphs)
{
    auto* crane = new devLink;
    crane->regNo = regNo;
    crane->name = regNo + " 01/02/2024 03:04:05";
    crane->timeStamp = 1706756645;
    crane->maxWeight = 10;
    crane->workMaxYears = 20;
    crane->workMaxSeconds = 20 * 31536000u;
    for (int g = 0; g < graphs; ++g)
        crane->graphs.pushBack(graphAt(1706700000 + g * 60));
    return crane;
}

// The window shows what it holds as after opening a file, and the toolkit has handled the rest.
void show(MainFrame& frame)
{
    frame.showCranes();
    wxTheApp->Yield();
}

void craneSelector(benchmark::State& state)
{
    MainFrame* frame = new MainFrame;
    for (int c = 0; c < state.range(0); ++c)
        frame->cranes.pushBack(craneNamed(std::to_string(100000 + c), 0));
    for (auto _ : state)
        show(*frame);
    frame->clearCranes();
    frame->Destroy();
}

void graphList(benchmark::State& state)
{
    MainFrame* frame = new MainFrame;
    frame->cranes.pushBack(craneNamed("7", static_cast<int>(state.range(0))));
    for (auto _ : state)
        show(*frame);
    frame->clearCranes();
    frame->Destroy();
}

BENCHMARK(craneSelector)->Arg(1000)->Arg(4000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(graphList)->Arg(1000)->Arg(4000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!wxEntryStart(argc, argv))
        return 2;
    wxImage::AddHandler(new wxPNGHandler);
    benchmark::RunSpecifiedBenchmarks();
    wxEntryCleanup();
    return 0;
}
