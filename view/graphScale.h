// Scaling of a load graph drawing: sizes derived from the surface, the axis ranges and steps, the
// plot rectangle and the mapping of seconds and percent to pixels. The drawing layer measures its
// texts and passes the sizes in; everything here is plain arithmetic.
#pragma once

#include <optional>

#include "data/devLink.h"
#include "link/report.h"

// The surface drawn on (client area or printer page) and its margins, device pixels.
struct drawingArea {
    int width = 0;
    int height = 0;
    int marginLeft = 0;
    int marginRight = 0;
    int marginTop = 0;
    int marginBottom = 0;
};

// Margins of a printed page from page setup millimetres: top-left x * width / paper width and
// so on, the quotient truncated; a paper size of 0 gives no margin.
drawingArea printedArea(int width, int height, int paperWidthMm, int paperHeightMm, int leftMm,
                        int topMm, int rightMm, int bottomMm);

// Font size S, mark size F and tick size G from the smaller side of the surface.
struct graphSizes {
    int fontSize;
    int markSize;
    int tickSize;
};
graphSizes graphSizesFor(const drawingArea& area);

// The point size to ask of the toolkit for a font size in device pixels, so that printed text
// keeps the proportion it has on screen where a printer converts points at its own resolution.
int fontPointSize(int size, int screenPpi, int devicePpi);

// Measured in the bold font ("0"): digit width cw and line height lh; in the title font: th.
struct textMetrics {
    int digitWidth;
    int lineHeight;
    int titleLineHeight;
};

// Time (seconds since the graph's start) and load (percent) ranges of the samples.
struct graphRanges {
    float timeMin;
    float timeMax;
    float loadMin;
    float loadMax;
};
// Spans the load samples and the state sample times; a zero span is widened by 1. A graph
// without load samples has no ranges, and is not drawn at all.
std::optional<graphRanges> rangesOf(const cycLink& graph);

// The plot rectangle, the ranges widened to whole steps, and the mapping to pixels.
struct graphScale {
    int plotLeft;
    int plotRight;
    int plotBottom;
    int plotTop;
    float timeMin;
    float timeMax;
    float loadMin;
    float loadMax;
    float stepT;
    float stepL;
    int bandHeight;   // the mechanism bands below the time axis, 9 lines

    int X(float t) const;
    int Y(float v) const;
    // The time under pixel column x (the inverse of X, not truncated).
    float timeAt(int x) const;
};

int footerReserve(const textMetrics& metrics);

// Scales the graph on the area; titleReserve is the height the title lines take (placeTitle).
// Empty for a graph that has no load samples. A fixed load scale puts the load axis at 0 to
// 125 % (fixedLoadStep) whatever the samples; the time axis is fitted either way.
std::optional<graphScale> scaleGraph(const cycLink& graph, const drawingArea& area,
                                     const textMetrics& metrics, const graphSizes& sizes,
                                     int titleReserve, ReportCallback error,
                                     bool fixedLoadScale = false);
