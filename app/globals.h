// Program-wide values, written once at start-up and read elsewhere.
#pragma once

#include <cstdint>

extern int32_t portSpeed;        // serial line speed, bits per second ("/Com/Speed")
extern int32_t numberOfSensors;  // "/numberOfSensors": read and recorded, used by no other part
extern int32_t recorderEpoch;    // calendar time of recorder second counter 0

// The recorder counts seconds from 31 December 1903, 23:00 local standard time. The base is
// taken with the zone's present standard offset, so that counters agree with the recorder's
// clock as ReadClock gives it, whatever the zone's history in 1903.
int32_t computeRecorderEpoch();

// Calendar time of a recorder second counter: (counter + recorderEpoch) modulo 2^32, signed.
int32_t recorderTime(uint32_t counter);
