// Drawing a load graph of 21,000 points on a 1280 x 960 bitmap, and handling one mouse motion over
// the drawing on screen, as the graphs page does them. Needs a display (run it under xvfb-run).
#include <benchmark/benchmark.h>

#include <cstdint>

#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/sizer.h>

#include "app/BrennixApp.h"
#include "data/devLink.h"
#include "view/GraphDraw.h"
#include "view/GraphWindow.h"

wxIMPLEMENT_APP_NO_MAIN(BrennixApp);

namespace {

constexpr int pointCount = 21000;

void addPoint(cycLink& graph, int t, uint8_t value)
{
    graph.Points.push_back(static_cast<uint8_t>(t >> 8));
    graph.Points.push_back(static_cast<uint8_t>(t));
    graph.Points.push_back(value);
}

// Realistic: lifts of a few minutes, the load rising, held and falling in steps a second apart,
// a state sample at each mechanism change.
void fillRealistic(cycLink& graph)
{
    for (int i = 0, t = 0; i < pointCount; ++i, ++t) {
        const int phase = t % 240;
        if (phase % 60 == 0) {
            addPoint(graph, t, static_cast<uint8_t>(1 << (phase / 60)));
            continue;
        }
        const int percent = phase < 40 ? phase * 2 : phase < 200 ? 80 : (240 - phase) * 2;
        addPoint(graph, t, static_cast<uint8_t>(0x80 | percent));
    }
}

// Worst case: the load swings across the whole range at every sample, with gaps of 3 s (a hold
// and a step each) between every other pair.
void fillWorstCase(cycLink& graph)
{
    for (int i = 0, t = 0; i < pointCount; ++i, t += (i % 2) ? 1 : 3)
        addPoint(graph, t, static_cast<uint8_t>(0x80 | ((i * 37) % 101)));
}

// The graphs page of a crane with one graph, shown in a frame of its own.
struct graphPage {
    explicit graphPage(void (*fill)(cycLink&))
    {
        crane.graphs.pushBack(graph);
        fill(*graph);
        graph->Npoints = pointCount;
        graph->decodePoints();
        crane.invNo = "1";
        frame = new wxFrame(nullptr, wxID_ANY, "graphBench", wxDefaultPosition, wxSize(1280, 1024));
        cranes = new wxComboBox(frame, wxID_ANY);
        cranes->Append("crane", static_cast<void*>(&crane));
        cranes->SetSelection(0);
        page = new GraphWindow(frame, cranes);
        page->graphList()->Append("graph", static_cast<void*>(graph));
        page->ShowGraph(0);
        wxBoxSizer* column = new wxBoxSizer(wxVERTICAL);
        column->Add(cranes);
        column->Add(page, 1, wxEXPAND);
        frame->SetSizer(column);
        frame->Show();
    }
    // The frame goes when the toolkit next idles; by then it must not reach the crane.
    ~graphPage()
    {
        page->graphList()->Clear();
        cranes->Clear();
        frame->Destroy();
    }

    devLink crane;
    cycLink* graph = new cycLink;   // owned by the crane's list
    wxFrame* frame;
    wxComboBox* cranes;
    GraphWindow* page;
};

void drawOnBitmap(benchmark::State& state, void (*fill)(cycLink&))
{
    graphPage page(fill);
    wxBitmap bitmap(1280, 960, 24);
    wxMemoryDC dc(bitmap);
    for (auto _ : state) {
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        page.page->graphDrawing()->drawSurface(dc, drawingArea{1280, 960});
    }
}

void mouseMotion(benchmark::State& state, void (*fill)(cycLink&))
{
    graphPage page(fill);
    GraphDraw* drawing = page.page->graphDrawing();
    for (int i = 0; i < 100 && !drawing->drawnScale(); ++i) {
        wxTheApp->Yield();
        drawing->Update();
    }
    if (!drawing->drawnScale()) {
        state.SkipWithError("the drawing was not painted");
        return;
    }
    const graphScale scale = *drawing->drawnScale();
    int x = scale.plotLeft;
    for (auto _ : state) {
        wxMouseEvent event(wxEVT_MOTION);
        event.m_x = x;
        event.SetEventObject(drawing);
        drawing->ProcessWindowEvent(event);
        x = x < scale.plotRight ? x + 7 : scale.plotLeft;
    }
}

BENCHMARK_CAPTURE(drawOnBitmap, realistic, fillRealistic)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK_CAPTURE(drawOnBitmap, worstCase, fillWorstCase)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK_CAPTURE(mouseMotion, realistic, fillRealistic)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK_CAPTURE(mouseMotion, worstCase, fillWorstCase)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!wxEntryStart(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    wxEntryCleanup();
    return 0;
}
