// Classification of a crane from its recorder counters, with the class limits of ISO 4301-1:
// load regime Q from the load-spectrum factor, utilisation class U from the cycles estimated over
// the service life, crane group A, class T of each mechanism, the used share of the resource and
// each mechanism's activity in the last hour of the recorded graphs.
#pragma once

#include <cstdint>

#include "data/devLink.h"

extern const float kpLimits[4];
extern const uint32_t cycleLimits[9];
extern const uint32_t hourLimits[9];

// Switching of one mechanism in the last hour of graphs. In 64 bits: times that run back within a
// graph (a damaged file) can add up to 2^31 seconds in each graph.
struct mechanismActivity {
    int64_t switchOns = 0;
    int64_t onSeconds = 0;
    int64_t percent = 0;   // onSeconds as a share of 3600 seconds
};

struct classification {
    float Kp = 0;          // load-spectrum factor, unrounded: the regime is found from it
    int Q = 1;
    float shownKp = 0;     // Kp rounded to three decimals, for the text
    float lifeFactor = 1;  // service life over the time observed since installation, at least 1
    float N = 0;           // cycles estimated over the service life
    int U = 0;
    int A = 1;
    int T[hourCounterCount] = {};
    float estimatedHours[hourCounterCount] = {};   // hourCounter x lifeFactor
    int resource = 0;      // used share of the crane's resource, percent, at most 100
    mechanismActivity activity[hourCounterCount];
};

classification classify(const devLink& crane);
