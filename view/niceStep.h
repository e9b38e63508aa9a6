// Axis steps of 1, 2 or 5 times a power of ten, never below 1.
#pragma once

#include "link/report.h"

// The step that divides [min, max] into about n intervals; max and min are rounded out to whole
// steps. Fewer than one interval counts as one. Ranges that are not finite are left as they are
// and get the step 1.
float niceStep(float& max, float& min, int n, ReportCallback error);
