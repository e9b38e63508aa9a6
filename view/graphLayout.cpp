#include "view/graphLayout.h"

#include <algorithm>
#include <cstdlib>

namespace {

// min, min + step, ... while below max - step / 2, accumulated as float. Stops should the
// accumulation no longer advance.
std::vector<float> gridValues(float min, float max, float step)
{
    std::vector<float> values;
    for (float v = min; v < max - step / 2;) {
        values.push_back(v);
        const float next = v + step;
        if (!(next > v))
            break;
        v = next;
    }
    return values;
}

// The mark of each grid value, as markOf places it.
template <typename MarkOf>
std::vector<gridMark> marksAt(const std::vector<float>& values, MarkOf markOf)
{
    std::vector<gridMark> marks;
    marks.reserve(values.size());
    for (const float v : values)
        marks.push_back(markOf(v));
    return marks;
}

// Consecutive points of one pixel column: each(first, last) on the range [first, last).
template <typename Each>
void forEachColumn(const std::vector<pixelPoint>& points, Each each)
{
    for (auto first = points.begin(); first != points.end();) {
        auto last = first;
        while (last != points.end() && last->x == first->x)
            ++last;
        each(first, last);
        first = last;
    }
}

bool higher(pixelPoint a, pixelPoint b) { return a.y < b.y; }

int centredX(const drawingArea& area, int width)
{
    return (area.width - width - area.marginLeft - area.marginRight) / 2 + area.marginLeft;
}

}  // namespace

titlePlacement placeTitle(const drawingArea& area, const textMetrics& metrics, int titleWidth,
                          int subtitleWidth)
{
    const int L = area.marginLeft;
    const int T = area.marginTop;
    const int th = metrics.titleLineHeight;
    const int free = area.width - titleWidth - subtitleWidth - metrics.digitWidth - L - area.marginRight;
    if (free >= 1)
        return {{free / 2 + L, T + 2}, {L + titleWidth + metrics.digitWidth + free / 2, T + 2}, th + 4};
    return {{centredX(area, titleWidth), T + 2},
            {centredX(area, subtitleWidth), T + th + 4},
            th + 4 + th + 2};
}

pixelPoint footerPosition(const drawingArea& area, const textMetrics& metrics, int footerWidth)
{
    return {centredX(area, footerWidth), area.height - area.marginBottom - metrics.lineHeight - 2};
}

std::vector<gridMark> timeMarks(const graphScale& scale, const graphSizes& sizes)
{
    const int G = sizes.tickSize;
    return marksAt(gridValues(scale.timeMin, scale.timeMax, scale.stepT), [&](float t) {
        const int x = scale.X(t);
        return gridMark{t,
                        {{x, scale.plotBottom + scale.bandHeight}, {x, scale.plotTop}},
                        {{x, scale.plotBottom + G}, {x, scale.plotBottom - G}}};
    });
}

std::vector<gridMark> loadMarks(const graphScale& scale, const graphSizes& sizes)
{
    const int G = sizes.tickSize;
    return marksAt(gridValues(scale.loadMin, scale.loadMax, scale.stepL), [&](float v) {
        const int y = scale.Y(v);
        return gridMark{v,
                        {{scale.plotLeft, y}, {scale.plotRight, y}},
                        {{scale.plotLeft - G, y}, {scale.plotLeft + G, y}}};
    });
}

pixelPoint timeMarkLabel(const graphScale& scale, float t, const graphSizes& sizes)
{
    return {scale.X(t) + sizes.tickSize, scale.plotBottom};
}

pixelPoint loadMarkLabel(const graphScale& scale, float v, int labelWidth,
                         const textMetrics& metrics, const graphSizes& sizes)
{
    const int G = sizes.tickSize;
    const int lh = metrics.lineHeight;
    const bool lowest = v <= scale.loadMin + scale.stepL / 2;
    return {scale.plotLeft - labelWidth - G, lowest ? scale.Y(v) - lh - G : scale.Y(v) - lh / 2};
}

std::vector<pixelLine> loadCurve(const cycLink& graph, const graphScale& scale)
{
    std::vector<pixelLine> lines;
    for (std::size_t i = 0; i + 1 < graph.loadPoints.size(); ++i) {
        const loadPoint& a = graph.loadPoints[i];
        const loadPoint& b = graph.loadPoints[i + 1];
        const pixelPoint from{scale.X(static_cast<float>(a.time)), scale.Y(a.load)};
        const pixelPoint to{scale.X(static_cast<float>(b.time)), scale.Y(b.load)};
        if (b.time - a.time > 2) {
            const pixelPoint held{to.x, from.y};
            lines.push_back({from, held});
            lines.push_back({held, to});
        } else {
            lines.push_back({from, to});
        }
    }
    return lines;
}

std::vector<pixelPoint> curvePolyline(const std::vector<pixelLine>& curve)
{
    std::vector<pixelPoint> all;
    if (curve.empty())
        return all;
    all.reserve(curve.size() + 1);
    all.push_back(curve.front().from);
    for (const pixelLine& line : curve)
        if (!(line.to == all.back()))
            all.push_back(line.to);
    std::vector<pixelPoint> corners;
    forEachColumn(all, [&corners](auto first, auto last) {
        if (last - first <= 4) {
            corners.insert(corners.end(), first, last);
            return;
        }
        const auto top = std::min_element(first, last, higher);
        const auto bottom = std::max_element(first, last, higher);
        corners.push_back(*first);
        corners.push_back(*std::min(top, bottom));
        corners.push_back(*std::max(top, bottom));
        corners.push_back(*(last - 1));
    });
    return corners;
}

std::vector<pixelPoint> markerCentres(const cycLink& graph, const graphScale& scale)
{
    std::vector<pixelPoint> all;
    all.reserve(graph.loadPoints.size());
    for (const loadPoint& p : graph.loadPoints)
        all.push_back({scale.X(static_cast<float>(p.time)), scale.Y(p.load)});
    std::vector<pixelPoint> centres;
    forEachColumn(all, [&centres](auto first, auto last) {
        std::vector<pixelPoint> column(first, last);
        std::sort(column.begin(), column.end(), higher);
        column.erase(std::unique(column.begin(), column.end()), column.end());
        centres.insert(centres.end(), column.begin(), column.end());
    });
    return centres;
}

std::array<pixelPoint, 4> sampleMarker(pixelPoint at, const graphSizes& sizes)
{
    const int d = sizes.markSize + 1;
    return {{{at.x + d, at.y}, {at.x, at.y + d}, {at.x - d, at.y}, {at.x, at.y - d}}};
}

std::vector<pixelRect> bandBars(const cycLink& graph, const graphScale& scale, int band,
                                const textMetrics& metrics, const graphSizes& sizes)
{
    const uint8_t bit = static_cast<uint8_t>(1 << band);
    const int lh = metrics.lineHeight;
    const int G = sizes.tickSize;
    const int y = scale.plotBottom + (band + 2) * lh + G;
    std::vector<pixelRect> bars;
    bool open = false;
    float openedAt = 0;
    auto close = [&](float at) {
        const int x = scale.X(openedAt);
        bars.push_back({x, y, scale.X(at) - x, lh - 2 * G});
        open = false;
    };
    for (const eventPoint& p : graph.eventPoints) {
        const bool set = (p.state & bit) != 0;
        if (set && !open) {
            open = true;
            openedAt = static_cast<float>(p.time);
        } else if (!set && open) {
            close(static_cast<float>(p.time));
        }
    }
    if (open)
        close(scale.timeMax);
    return bars;
}

pixelPoint bandLabelPosition(const graphScale& scale, int band, int labelWidth,
                             const textMetrics& metrics, const graphSizes& sizes)
{
    return {scale.plotLeft - labelWidth - sizes.tickSize,
            scale.plotBottom + (band + 2) * metrics.lineHeight};
}

pixelPoint timeAxisTitlePosition(const graphScale& scale, int titleWidth,
                                 const textMetrics& metrics, const graphSizes& sizes)
{
    const int centre = scale.X((scale.timeMax + scale.timeMin) / 2) - titleWidth / 2;
    int best = 0;
    for (const float t : gridValues(scale.timeMin, scale.timeMax, scale.stepT))
        if (std::abs(best - centre) > std::abs(centre - scale.X(t)))
            best = scale.X(t + scale.stepT / 2) - titleWidth / 2;
    return {best, scale.plotBottom + metrics.lineHeight - sizes.tickSize / 2};
}

pixelPoint loadAxisTitlePosition(const graphScale& scale, const drawingArea& area, int titleWidth)
{
    return {area.marginLeft + 1, scale.Y((scale.loadMax + scale.loadMin) / 2) + titleWidth / 2};
}

std::optional<pixelLine> levelLineAt(const graphScale& scale, float percent)
{
    if (!(percent >= scale.loadMin && percent <= scale.loadMax))
        return std::nullopt;
    const int y = scale.Y(percent);
    return pixelLine{{scale.plotLeft, y}, {scale.plotRight, y}};
}

std::array<pixelLine, 6> axisLines(const graphScale& scale, const graphSizes& sizes)
{
    const int G = sizes.tickSize;
    const int F = sizes.markSize;
    const pixelPoint timeEnd{scale.plotRight, scale.plotBottom};
    const pixelPoint loadEnd{scale.plotLeft, scale.plotTop};
    return {{{{scale.plotLeft - 8 * G, scale.plotBottom}, timeEnd},
             {{scale.plotLeft, scale.plotBottom + scale.bandHeight}, loadEnd},
             {{scale.plotRight - 3 * F, scale.plotBottom - F}, timeEnd},
             {{scale.plotRight - 3 * F, scale.plotBottom + F}, timeEnd},
             {{scale.plotLeft - F, scale.plotTop + 3 * F}, loadEnd},
             {{scale.plotLeft + F, scale.plotTop + 3 * F}, loadEnd}}};
}
