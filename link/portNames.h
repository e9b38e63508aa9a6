// Port names as the user chooses them ("COM1".."COM4") and the devices they stand for on a
// platform whose serial ports are named otherwise (POSIX).
#pragma once

#include <string>
#include <vector>

#include "link/serialPort.h"

// 1..4 for "COM1".."COM4", 0 for any other name.
inline int comPortNumber(const std::string& portName)
{
    if (portName.size() == 4 && portName.compare(0, 3, "COM") == 0 && portName[3] >= '1' &&
        portName[3] <= '4')
        return portName[3] - '0';
    return 0;
}

// The device path of a port: "COMn" (n = 1..4) resolves through the environment variable
// BRENNIX_COMn, then the configured lookup, then /dev/ttyS(n-1). Any other name is taken as a
// device path itself (for example "/dev/ttyUSB0").
std::string portDevicePath(const std::string& portName, const ConfiguredPortLookup& configured);

// The device that the environment variable BRENNIX_COMn gives port n (1..4); empty for none.
std::string environmentPortDevice(int portNumber);

// The serial ports present on this computer, to map COM1..COM4 onto: /dev/ttyS* with a UART
// behind it, then /dev/ttyUSB* and /dev/ttyACM* (adapters, present while plugged in), each kind
// in the order of its numbers. A ttyS device whose class entry under ttyClass says it has no
// UART (type 0) is not a port: the kernel makes such devices whatever the machine has.
std::vector<std::string> presentSerialDevices(const std::string& devices = "/dev",
                                              const std::string& ttyClass = "/sys/class/tty");
