// Port names as the user chooses them ("COM1".."COM4") and the devices they stand for on a
// platform whose serial ports are named otherwise (POSIX).
#pragma once

#include <string>

#include "link/serialPort.h"

// The device path of a port: "COMn" (n = 1..4) resolves through the environment variable
// BRENNIX_COMn, then the configured lookup, then /dev/ttyS(n-1). Any other name is taken as a
// device path itself (for example "/dev/ttyUSB0").
std::string portDevicePath(const std::string& portName, const ConfiguredPortLookup& configured);
