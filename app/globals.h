// Program-wide values, written once at start-up and read by the application layer, which hands
// them to the link and the readout.
#pragma once

#include <cstdint>

#include "link/serialPort.h"

extern int32_t portSpeed;        // serial line speed, bits per second ("/Com/Speed")
extern int32_t numberOfSensors;  // "/numberOfSensors": read and recorded, used by no other part
extern int32_t recorderEpoch;    // calendar time of recorder second counter 0 (computeRecorderEpoch)

// The serial settings of this run: portSpeed, and the devices the configuration names for the
// ports ("/Com/COM1".."/Com/COM4", read without recording a default, so that the store holds
// them only where the user has written them).
serialSettings configuredSerialSettings();
