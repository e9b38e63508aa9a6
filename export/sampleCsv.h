// The samples of load graphs as CSV: one row per point time, in recorded order, with the load
// and the state as they stand after the points of that second. Columns: clock time, seconds from
// the graph's start (16-bit offsets unwrapped), load in percent and in tonnes (empty before the
// graph's first load sample), mechanisms 1 to 6 and the limiter as 0 or 1.
#pragma once

#include <string>

#include "data/devLink.h"
#include "export/csvText.h"

// One graph's samples, with a header row.
std::string graphSamplesCsv(const devLink& crane, const cycLink& graph, csvFormat format);

// All graphs of a crane in one table, a first column giving the graph's position (from 1).
std::string craneSamplesCsv(const devLink& crane, csvFormat format);
