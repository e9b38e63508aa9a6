// The benchmarks' data: 50 cranes with 60 graphs of 1,000 points each (3,000 graphs, a data file
// of about 18 MB), every field set, load samples mixed with state samples.
#pragma once

#include "data/aList.h"

const aList& sampleCranes();
