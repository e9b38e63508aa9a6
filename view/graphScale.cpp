#include "view/graphScale.h"

#include <algorithm>
#include <cstdint>

#include "view/graphOptions.h"
#include "view/niceStep.h"

namespace {

int marginPixels(int mm, int pixels, int paperMm)
{
    if (paperMm == 0)
        return 0;
    return static_cast<int>(int64_t{mm} * pixels / paperMm);
}

// Whole intervals of `per` units of `unit` pixels that fit into span pixels, at least one.
int intervalsIn(int span, int unit, int per)
{
    if (unit <= 0)
        return 1;
    return std::max(1, span / unit / per);
}

}  // namespace

drawingArea printedArea(int width, int height, int paperWidthMm, int paperHeightMm, int leftMm,
                        int topMm, int rightMm, int bottomMm)
{
    drawingArea area;
    area.width = width;
    area.height = height;
    area.marginLeft = marginPixels(leftMm, width, paperWidthMm);
    area.marginTop = marginPixels(topMm, height, paperHeightMm);
    area.marginRight = marginPixels(rightMm, width, paperWidthMm);
    area.marginBottom = marginPixels(bottomMm, height, paperHeightMm);
    return area;
}

graphSizes graphSizesFor(const drawingArea& area)
{
    const int M = std::max(0, std::min(area.width, area.height));
    // A font of size 0 is no font: surfaces under 48 pixels still get size 1.
    return {std::max(1, M / 48), M / 160 + 2, M / 240};
}

int fontPointSize(int size, int screenPpi, int devicePpi)
{
    if (screenPpi <= 0 || devicePpi <= 0)
        return size;
    return std::max(1, static_cast<int>(int64_t{size} * screenPpi / devicePpi));
}

std::optional<graphRanges> rangesOf(const cycLink& graph)
{
    if (graph.loadPoints.empty())
        return std::nullopt;
    const loadPoint& first = graph.loadPoints.front();
    graphRanges r{static_cast<float>(first.time), static_cast<float>(first.time), first.load,
                  first.load};
    for (const loadPoint& p : graph.loadPoints) {
        r.timeMin = std::min(r.timeMin, static_cast<float>(p.time));
        r.timeMax = std::max(r.timeMax, static_cast<float>(p.time));
        r.loadMin = std::min(r.loadMin, p.load);
        r.loadMax = std::max(r.loadMax, p.load);
    }
    for (const eventPoint& p : graph.eventPoints) {
        r.timeMin = std::min(r.timeMin, static_cast<float>(p.time));
        r.timeMax = std::max(r.timeMax, static_cast<float>(p.time));
    }
    if (r.timeMax == r.timeMin)
        r.timeMax = r.timeMin + 1;
    if (r.loadMax == r.loadMin)
        r.loadMax = r.loadMin + 1;
    return r;
}

int graphScale::X(float t) const
{
    return static_cast<int>((t - timeMin) * static_cast<float>(plotRight - plotLeft) /
                                (timeMax - timeMin) +
                            static_cast<float>(plotLeft));
}

int graphScale::Y(float v) const
{
    return static_cast<int>((v - loadMin) * static_cast<float>(plotTop - plotBottom) /
                                (loadMax - loadMin) +
                            static_cast<float>(plotBottom));
}

float graphScale::timeAt(int x) const
{
    return timeMin + static_cast<float>(x - plotLeft) * (timeMax - timeMin) /
                         static_cast<float>(plotRight - plotLeft);
}

int footerReserve(const textMetrics& metrics) { return metrics.lineHeight + 4; }

std::optional<graphScale> scaleGraph(const cycLink& graph, const drawingArea& area,
                                     const textMetrics& metrics, const graphSizes& sizes,
                                     int titleReserve, ReportCallback error, bool fixedLoadScale)
{
    const std::optional<graphRanges> ranges = rangesOf(graph);
    if (!ranges)
        return std::nullopt;
    graphScale s;
    const int cw = metrics.digitWidth;
    const int lh = metrics.lineHeight;
    s.bandHeight = 9 * lh;
    s.plotLeft = 3 * cw + lh + sizes.tickSize + area.marginLeft;
    s.plotRight = area.width - area.marginRight - 1;
    s.plotBottom = area.height - s.bandHeight - footerReserve(metrics) - area.marginBottom;
    s.plotTop = titleReserve + area.marginTop;
    s.timeMin = ranges->timeMin;
    s.timeMax = ranges->timeMax;
    s.loadMin = ranges->loadMin;
    s.loadMax = ranges->loadMax;
    s.stepT = niceStep(s.timeMax, s.timeMin, intervalsIn(s.plotRight - s.plotLeft, cw, 12), error);
    const int loadIntervals = intervalsIn(s.plotBottom - s.plotTop, lh, 4);
    if (fixedLoadScale) {
        s.loadMin = 0;
        s.loadMax = fixedLoadTop;
        s.stepL = fixedLoadStep(loadIntervals);
    } else {
        s.stepL = niceStep(s.loadMax, s.loadMin, loadIntervals, error);
    }
    return s;
}
