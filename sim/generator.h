// Realistic content from a seed: cranes whose passport, counters and graphs fit together.
#pragma once

#include <cstdint>

#include "sim/content.h"
#include "sim/crane.h"

// Crane number `index` of the seed, as a recorder holds it when read at `readout`: commissioning
// and installation dates in order before the readout; cycle counters by load regime that sum to
// cyclesTotal, a cube sum and a load sum that agree with the regime mix and the calibration;
// hour counters of the crane's mechanisms; the most recent lifting cycles as graphs (the stores
// full in most cranes) and the latest overload cycles.
craneSpec generateCrane(uint64_t seed, unsigned index, int32_t readout);

// A recorder read at `now`, or a collector (clock `now`) that has read `slots` recorders, one a
// day or two apart.
simContent generateContent(uint64_t seed, deviceKind kind, unsigned slots, int32_t now);
