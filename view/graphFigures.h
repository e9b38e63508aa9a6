// The overload figures of a crane's graphs: how long each ran, its peak in percent and in tonnes,
// the time its load spent above the rated load, the limiter's trips, the mechanisms that ran, and
// which of the recorder's two stores it came from.
#pragma once

#include <cstdint>
#include <vector>

#include "data/devLink.h"

struct graphFigures {
    int32_t start = 0;            // the graph's start, calendar seconds
    int64_t durationSeconds = 0;  // from the start to the graph's last point
    int peakPercent = 0;          // largest load sample, 0 without load samples
    double peakTonnes = 0;        // peakPercent of the crane's maxWeight
    double secondsAbove100 = 0;   // time the load, drawn as the graph draws it, was above 100 %
    int limiterTrips = 0;         // state samples that set the limiter bit after one that did not
    uint8_t mechanismsRan = 0;    // bit m - 1 set: mechanism m ran at some state sample
};

// Point times are unwrapped (pointClock). Between two load samples more than 2 s apart the load
// is held at the earlier one; closer samples are joined by a straight line, as on the drawing.
graphFigures figuresOf(const cycLink& graph, float maxWeight);

// An overload shows: a peak above the rated load or a tripped limiter.
bool isOverload(const graphFigures& figures);

enum class graphStore { ordinary, overload, unknown };

// The store of each of the crane's graphs, in list order. The readout reads the cntN ordinary
// graphs, then the cntE overload graphs, and drops those it cannot read or that hold 3 load
// samples or fewer; a data file keeps that order and both counts. With d graphs dropped, the
// first cntN - d graphs are certainly ordinary and those from position cntN on certainly
// overload; the d between could be either and are unknown. When the list holds more graphs than
// the counts announce (counts missing from a data file), no graph's store is known.
std::vector<graphStore> storesOf(const devLink& crane);
