// The serial ports present on this computer, to map the port names COM1..COM4 onto.
#pragma once

#include <string>
#include <vector>

// The device paths of the serial ports present: /dev/ttyS* with a UART behind it, then
// /dev/ttyUSB* and /dev/ttyACM* (adapters, present while plugged in), each kind in the order of
// its numbers. A ttyS device whose class entry under ttyClass says it has no UART (type 0) is
// not a port: the kernel makes such devices whatever the machine has.
std::vector<std::string> presentSerialDevices(const std::string& devices = "/dev",
                                              const std::string& ttyClass = "/sys/class/tty");
