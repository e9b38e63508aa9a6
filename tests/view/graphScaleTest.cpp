#include "view/graphLayout.h"
#include "view/graphScale.h"

#include <gtest/gtest.h>

#include "tests/support/reportLog.h"
#include "tests/view/testGraphs.h"

#include <algorithm>
#include <ostream>

std::ostream& operator<<(std::ostream& out, pixelPoint p) { return out << '(' << p.x << ", " << p.y << ')'; }

namespace {

// Loads 10..60 % between 3 and 127 s; mechanism 1 runs from 10 to 30 s and from 100 s to the
// end, the limiter trips at 30 s and resets at 100 s.
std::unique_ptr<cycLink> sampleGraph()
{
    return graphOf(0, {{3, load(10)},
                       {5, load(20)},
                       {8, load(60)},
                       {10, 0x01},
                       {30, 0x40},
                       {100, 0x01},
                       {127, load(30)}});
}

// An 800 x 600 screen with an 8 x 16 digit and a one-line title.
const drawingArea screen{800, 600};
const textMetrics metrics{8, 16, 20};
constexpr int titleReserve = 24;

graphScale screenScale(const cycLink& graph)
{
    return *scaleGraph(graph, screen, metrics, graphSizesFor(screen), titleReserve, reportLog::error);
}

TEST(graphScale, SizesAndPrintMargins)
{
    const graphSizes s = graphSizesFor({480, 960});
    EXPECT_EQ(s.fontSize, 10);
    EXPECT_EQ(s.markSize, 5);
    EXPECT_EQ(s.tickSize, 2);
    EXPECT_EQ(graphSizesFor({30, 30}).fontSize, 1);   // never a font of size 0

    const drawingArea a4 = printedArea(4960, 7016, 210, 297, 10, 10, 20, 15);
    EXPECT_EQ(a4.marginLeft, 236);     // 10 * 4960 / 210, truncated
    EXPECT_EQ(a4.marginTop, 236);      // 10 * 7016 / 297
    EXPECT_EQ(a4.marginRight, 472);
    EXPECT_EQ(a4.marginBottom, 354);
    EXPECT_EQ(printedArea(4960, 7016, 0, 0, 10, 10, 10, 10).marginLeft, 0);

    EXPECT_EQ(fontPointSize(100, 96, 600), 16);   // a 600 dpi page keeps the screen's proportion
    EXPECT_EQ(fontPointSize(12, 96, 96), 12);
    EXPECT_EQ(fontPointSize(3, 96, 1200), 1);
}

TEST(graphScale, RangesSpanLoadSamplesAndStateTimes)
{
    const graphRanges r = *rangesOf(*sampleGraph());
    EXPECT_EQ(r.timeMin, 3.0f);
    EXPECT_EQ(r.timeMax, 127.0f);
    EXPECT_EQ(r.loadMin, 10.0f);
    EXPECT_EQ(r.loadMax, 60.0f);

    const graphRanges states = *rangesOf(*graphOf(0, {{0, 0x01}, {5, load(40)}, {200, 0x00}}));
    EXPECT_EQ(states.timeMin, 0.0f);
    EXPECT_EQ(states.timeMax, 200.0f);

    const graphRanges flat = *rangesOf(*graphOf(0, {{7, load(40)}, {7, load(40)}}));
    EXPECT_EQ(flat.timeMax, 8.0f);   // degenerate ranges widen by 1
    EXPECT_EQ(flat.loadMax, 41.0f);

    const auto noLoads = graphOf(0, {{0, 0x01}, {5, 0x00}});
    EXPECT_FALSE(rangesOf(*noLoads));
    EXPECT_FALSE(scaleGraph(*noLoads, screen, metrics, graphSizesFor(screen), 0, reportLog::error));
}

TEST(graphScale, PlotRectangleStepsAndPixelMapping)
{
    const reportLog::fresh reports;
    const graphScale s = screenScale(*sampleGraph());
    EXPECT_EQ(s.plotLeft, 3 * 8 + 16 + 2);
    EXPECT_EQ(s.plotRight, 799);
    EXPECT_EQ(s.bandHeight, 9 * 16);
    EXPECT_EQ(s.plotBottom, 600 - 144 - 20);
    EXPECT_EQ(s.plotTop, 24);
    // 7 time intervals: 124 / 7 -> 20; 6 load intervals: 50 / 6 -> 10.
    EXPECT_EQ(s.stepT, 20.0f);
    EXPECT_EQ(s.timeMin, 0.0f);
    EXPECT_EQ(s.timeMax, 140.0f);
    EXPECT_EQ(s.stepL, 10.0f);
    EXPECT_EQ(s.loadMin, 10.0f);
    EXPECT_EQ(s.loadMax, 60.0f);

    EXPECT_EQ(s.X(0), 42);
    EXPECT_EQ(s.X(140), 799);
    EXPECT_EQ(s.X(70), 420);   // 420.5 truncated
    EXPECT_EQ(s.Y(10), 436);
    EXPECT_EQ(s.Y(60), 24);
    EXPECT_EQ(s.Y(35), 230);
    EXPECT_NEAR(s.timeAt(420), 69.9f, 0.1f);

    graphScale left = s;   // truncation is toward zero, not down
    left.plotLeft = 0;
    left.plotRight = 10;
    left.timeMax = 100;
    EXPECT_EQ(left.X(-5), 0);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST(graphScale, AreaTooSmallForOneIntervalStillScales)
{
    const reportLog::fresh reports;
    const drawingArea tiny{40, 40};
    const auto s = scaleGraph(*sampleGraph(), tiny, {0, 0, 0}, graphSizesFor(tiny), 0, reportLog::error);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->stepT, 100.0f);   // one interval of 124 s: "1e+02"
    EXPECT_EQ(s->timeMax, 200.0f);
    EXPECT_EQ(s->stepL, 50.0f);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST(graphLayout, TitleOnOneLineOrTwo)
{
    const drawingArea page{1000, 800, 10, 20, 30, 40};
    const titlePlacement one = placeTitle(page, metrics, 500, 300);
    // free = 1000 - 500 - 300 - 8 - 10 - 20 = 162
    EXPECT_EQ(one.title, (pixelPoint{81 + 10, 32}));
    EXPECT_EQ(one.subtitle, (pixelPoint{10 + 500 + 8 + 81, 32}));
    EXPECT_EQ(one.reserve, 24);
    const titlePlacement two = placeTitle(page, metrics, 700, 300);
    EXPECT_EQ(two.title, (pixelPoint{(1000 - 700 - 30) / 2 + 10, 32}));
    EXPECT_EQ(two.subtitle, (pixelPoint{(1000 - 300 - 30) / 2 + 10, 30 + 20 + 4}));
    EXPECT_EQ(two.reserve, 24 + 22);
    EXPECT_EQ(footerPosition(page, metrics, 400), (pixelPoint{(1000 - 400 - 30) / 2 + 10, 800 - 40 - 16 - 2}));
}

TEST(graphLayout, GridMarksAndTheirNumbers)
{
    const graphScale s = screenScale(*sampleGraph());
    const graphSizes sizes = graphSizesFor(screen);   // G = 2
    const std::vector<gridMark> times = timeMarks(s, sizes);
    ASSERT_EQ(times.size(), 7u);   // 0 .. 120: 140 is half a step short of nothing
    EXPECT_EQ(times[6].value, 120.0f);
    EXPECT_EQ(times[1].gridLine.from, (pixelPoint{s.X(20), 436 + 144}));   // down through the bands
    EXPECT_EQ(times[1].gridLine.to, (pixelPoint{s.X(20), 24}));
    EXPECT_EQ(timeMarkLabel(s, 20, sizes), (pixelPoint{s.X(20) + 2, 436}));

    const std::vector<gridMark> loads = loadMarks(s, sizes);
    ASSERT_EQ(loads.size(), 5u);   // 10 .. 50
    EXPECT_EQ(loads[4].value, 50.0f);
    // The lowest number sits above the time axis, the others are centred on their ticks.
    EXPECT_EQ(loadMarkLabel(s, 10, 16, metrics, sizes), (pixelPoint{42 - 16 - 2, 436 - 16 - 2}));
    EXPECT_EQ(loadMarkLabel(s, 20, 16, metrics, sizes), (pixelPoint{42 - 16 - 2, s.Y(20) - 8}));
}

TEST(graphLayout, CurveHoldsLoadsOverGapsAboveTwoSeconds)
{
    const graphScale s = screenScale(*sampleGraph());
    const std::vector<pixelLine> lines = loadCurve(*sampleGraph(), s);
    ASSERT_EQ(lines.size(), 5u);
    // 3 -> 5 s: sloped.
    EXPECT_EQ(lines[0].from, (pixelPoint{s.X(3), s.Y(10)}));
    EXPECT_EQ(lines[0].to, (pixelPoint{s.X(5), s.Y(20)}));
    // 5 -> 8 s: held at 20 %, then up to 60 %.
    EXPECT_EQ(lines[1].to, (pixelPoint{s.X(8), s.Y(20)}));
    EXPECT_EQ(lines[2].from, (pixelPoint{s.X(8), s.Y(20)}));
    EXPECT_EQ(lines[2].to, (pixelPoint{s.X(8), s.Y(60)}));
    EXPECT_EQ(lines[3].to, (pixelPoint{s.X(127), s.Y(60)}));
    EXPECT_EQ(lines[4].to, (pixelPoint{s.X(127), s.Y(30)}));
}

TEST(graphLayout, LongCurvesKeepEachPixelColumnsSpanWithFewCorners)
{
    EXPECT_TRUE(curvePolyline({}).empty());
    // Up and down six times in column 10, then on to column 11; repeated pixels go first.
    const std::vector<pixelLine> zigzag{{{9, 50}, {10, 40}},  {{10, 40}, {10, 40}},
                                        {{10, 40}, {10, 70}}, {{10, 70}, {10, 20}},
                                        {{10, 20}, {10, 60}}, {{10, 60}, {10, 45}},
                                        {{10, 45}, {11, 30}}};
    const std::vector<pixelPoint> corners = curvePolyline(zigzag);
    const std::vector<pixelPoint> expected{{9, 50}, {10, 40}, {10, 70}, {10, 20}, {10, 45}, {11, 30}};
    EXPECT_EQ(corners, expected) << "first, lowest then highest as they come, last";

    // Up to four corners in a column stay as they are: the polyline is the curve itself.
    const std::vector<pixelLine> held = loadCurve(*sampleGraph(), screenScale(*sampleGraph()));
    const std::vector<pixelPoint> same = curvePolyline(held);
    ASSERT_EQ(same.size(), held.size() + 1);
    for (std::size_t i = 0; i < held.size(); ++i)
        EXPECT_EQ(same[i + 1], held[i].to);
}

TEST(graphLayout, MarkersOncePerPixel)
{
    // 2000 samples a second apart on a 758-pixel axis, of two loads: a few per column.
    auto graph = graphOf(0, {});
    for (int t = 0; t < 2000; ++t)
        for (const uint8_t byte : {uint8_t(t >> 8), uint8_t(t), load(t % 3 == 0 ? 40 : 41)})
            graph->Points.push_back(byte);
    graph->Npoints = 2000;
    graph->decodePoints();
    const graphScale s = screenScale(*graph);
    const std::vector<pixelPoint> centres = markerCentres(*graph, s);
    std::vector<pixelPoint> all;
    for (const loadPoint& p : graph->loadPoints)
        all.push_back({s.X(static_cast<float>(p.time)), s.Y(p.load)});
    for (std::size_t i = 0; i < centres.size(); ++i)
        for (std::size_t j = i + 1; j < centres.size(); ++j)
            EXPECT_FALSE(centres[i] == centres[j]);
    for (const pixelPoint p : all)
        EXPECT_NE(std::find(centres.begin(), centres.end(), p), centres.end());
    EXPECT_LE(centres.size(), 2u * (s.plotRight - s.plotLeft + 1)) << "at most one per load and column";
}

TEST(graphLayout, BandBarsCloseAtStateChangesOrAtTheAxisEnd)
{
    const auto graph = sampleGraph();
    const graphScale s = screenScale(*graph);
    const graphSizes sizes = graphSizesFor(screen);
    const std::vector<pixelRect> mechanism1 = bandBars(*graph, s, 0, metrics, sizes);
    ASSERT_EQ(mechanism1.size(), 2u);
    EXPECT_EQ(mechanism1[0].x, s.X(10));
    EXPECT_EQ(mechanism1[0].width, s.X(30) - s.X(10));
    EXPECT_EQ(mechanism1[0].y, 436 + 2 * 16 + 2);
    EXPECT_EQ(mechanism1[0].height, 16 - 4);
    EXPECT_EQ(mechanism1[1].x + mechanism1[1].width, 799);   // still running: to timeMax
    const std::vector<pixelRect> limiter = bandBars(*graph, s, 6, metrics, sizes);
    ASSERT_EQ(limiter.size(), 1u);
    EXPECT_EQ(limiter[0].x, s.X(30));
    EXPECT_EQ(limiter[0].width, s.X(100) - s.X(30));
    EXPECT_EQ(limiter[0].y, 436 + 8 * 16 + 2);
    EXPECT_TRUE(bandBars(*graph, s, 3, metrics, sizes).empty());
    EXPECT_EQ(bandLabelPosition(s, 6, 30, metrics, sizes), (pixelPoint{42 - 30 - 2, 436 + 8 * 16}));
}

TEST(graphLayout, AxisTitles)
{
    const graphScale s = screenScale(*sampleGraph());
    const graphSizes sizes = graphSizesFor(screen);   // F = 5, G = 2
    // The centre lies at 70 s; the title goes into the middle of the interval 60..80 s.
    EXPECT_EQ(timeAxisTitlePosition(s, 60, metrics, sizes), (pixelPoint{s.X(70) - 30, 436 + 16 - 1}));
    EXPECT_EQ(loadAxisTitlePosition(s, screen, 100), (pixelPoint{1, s.Y(35) + 50}));
}

}  // namespace
