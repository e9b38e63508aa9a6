// Port names as the user chooses them ("COM1".."COM4") and the devices they stand for.
#pragma once

#include <functional>
#include <string>

// Looks up the configured device of port n (1..4), the key "/Com/COMn"; "" when it is absent.
using ConfiguredPortLookup = std::function<std::string(int portNumber)>;

// Installs the configuration lookup (the GUI does so at start-up); an empty one removes it.
void setConfiguredPortLookup(ConfiguredPortLookup lookup);

// The device path of a port: "COMn" (n = 1..4) resolves through the environment variable
// BRENNIX_COMn, then the configured lookup, then /dev/ttyS(n-1). Any other name is taken as a
// device path itself (for example "/dev/ttyUSB0").
std::string portDevicePath(const std::string& portName);
