// Options of the graphs page that the user switches and the program remembers. All off, the page
// draws exactly the plain graph; they apply to the screen, to printing and to PDF export alike.
#pragma once

#include <vector>

#include "data/devLink.h"

struct graphOptions {
    bool fixedLoadScale = false;   // every graph on one load axis, 0 to 125 %
    bool levelLines = false;       // lines at 100 % and at the limiter's trip and reset levels
    bool cursorDetail = false;     // the cursor readout also as clock time and tonnes
};

// The fixed load axis: 0 to 125 % in steps of 5, 25 or 125, the finest giving at most
// `intervals` intervals (at least one).
constexpr float fixedLoadTop = 125;
float fixedLoadStep(int intervals);

enum class levelKind { rated, limiterTrip, limiterReset };
struct levelLine {
    levelKind kind;
    int percent;
};
// 100 %, then the limiter's trip level ogpH and reset level ogpL, each where it is set (not 0).
std::vector<levelLine> levelLinesOf(const devLink& crane);
