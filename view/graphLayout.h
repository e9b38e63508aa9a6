// Where each element of a load graph drawing goes, from the scale and the measured text sizes.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "view/graphScale.h"

struct pixelPoint {
    int x;
    int y;
};
inline bool operator==(pixelPoint a, pixelPoint b) { return a.x == b.x && a.y == b.y; }

struct pixelLine {
    pixelPoint from;
    pixelPoint to;
};

struct pixelRect {
    int x;
    int y;
    int width;
    int height;
};

// Title and subtitle on one line when both fit, else each centred on its own line; reserve is
// the height they take above the plot.
struct titlePlacement {
    pixelPoint title;
    pixelPoint subtitle;
    int reserve;
};
titlePlacement placeTitle(const drawingArea& area, const textMetrics& metrics, int titleWidth,
                          int subtitleWidth);

// The footer line, centred between the margins at the bottom.
pixelPoint footerPosition(const drawingArea& area, const textMetrics& metrics, int footerWidth);

// A grid value with its grid line and its tick on the axis.
struct gridMark {
    float value;
    pixelLine gridLine;
    pixelLine tick;
};
// From the range's minimum in whole steps (accumulated as float) up to half a step short of
// the maximum. Vertical grid lines run down through the mechanism bands.
std::vector<gridMark> timeMarks(const graphScale& scale, const graphSizes& sizes);
std::vector<gridMark> loadMarks(const graphScale& scale, const graphSizes& sizes);

// Positions of the numbers at the marks: time numbers right of their tick on the axis; load
// numbers right-aligned left of the axis, centred on their tick except the lowest, which sits
// above the time axis.
pixelPoint timeMarkLabel(const graphScale& scale, float t, const graphSizes& sizes);
pixelPoint loadMarkLabel(const graphScale& scale, float v, int labelWidth,
                         const textMetrics& metrics, const graphSizes& sizes);

// The load curve: samples more than 2 s apart hold their load until the next one (a horizontal
// then a vertical line), closer ones are joined by a sloped line.
std::vector<pixelLine> loadCurve(const cycLink& graph, const graphScale& scale);

// The curve as the corners of one polyline, for drawing many samples: repeated pixels are dropped
// and a run of more than four corners in one pixel column becomes its first, its two extremes
// (in the order they come) and its last. Strokes within a column cover the span between its
// extremes either way, so the polyline draws the same pixels as every segment drawn alone.
std::vector<pixelPoint> curvePolyline(const std::vector<pixelLine>& curve);

// The centres of the load sample markers, each pixel once per run of samples in one column:
// a diamond drawn twice on the same spot adds nothing.
std::vector<pixelPoint> markerCentres(const cycLink& graph, const graphScale& scale);

// The filled diamond marking a load sample at (x, y).
std::array<pixelPoint, 4> sampleMarker(pixelPoint at, const graphSizes& sizes);

// Bands 0..5 are mechanisms 1..6, band 6 the load limiter.
constexpr int bandCount = 7;
// The bars of one band: from the state sample that sets its bit to the one that clears it; a
// bar still open after the last sample ends at the end of the time axis.
std::vector<pixelRect> bandBars(const cycLink& graph, const graphScale& scale, int band,
                                const textMetrics& metrics, const graphSizes& sizes);
pixelPoint bandLabelPosition(const graphScale& scale, int band, int labelWidth,
                             const textMetrics& metrics, const graphSizes& sizes);

// The time axis title goes into the middle of the tick interval nearest the axis' centre.
pixelPoint timeAxisTitlePosition(const graphScale& scale, int titleWidth,
                                 const textMetrics& metrics, const graphSizes& sizes);
// The load axis title, drawn rotated by 90 degrees, centred on the load axis.
pixelPoint loadAxisTitlePosition(const graphScale& scale, const drawingArea& area, int titleWidth);

// A horizontal line across the plot at a load; empty when the load lies outside the load axis.
std::optional<pixelLine> levelLineAt(const graphScale& scale, float percent);

// The two axes and their arrow heads.
std::array<pixelLine, 6> axisLines(const graphScale& scale, const graphSizes& sizes);
