// The points a recorder stores for one lifting cycle: a load sample every second, and a
// state sample whenever a mechanism starts or stops or the load limiter trips or resets.
#pragma once

#include <cstdint>

#include "sim/crane.h"
#include "sim/random.h"

struct cycleSetup {
    unsigned mechanisms = 4;   // mechanism 1 is the hoist; 2..mechanisms move the load
    uint8_t peakLoad = 50;     // percent of the rated load
    uint8_t hookLoad = 2;      // the empty hook
    bool overload = false;     // the peak trips the limiter (it must exceed ogpH)
    uint8_t ogpH = 110, ogpL = 100;
};

// Raw points (3 bytes each); the first two, a state and a load sample, are at time 0.
byteString liftingCyclePoints(simRandom& random, const cycleSetup& setup);

// Seconds from the first point to the last.
unsigned cycleDuration(const byteString& points);
