#include "link/portNames.h"

#include <cstdlib>

namespace {

// 1..4 for "COM1".."COM4", 0 for any other name.
int comPortNumber(const std::string& portName)
{
    if (portName.size() == 4 && portName.compare(0, 3, "COM") == 0 && portName[3] >= '1' &&
        portName[3] <= '4')
        return portName[3] - '0';
    return 0;
}

}  // namespace

std::string portDevicePath(const std::string& portName, const ConfiguredPortLookup& configured)
{
    const int number = comPortNumber(portName);
    if (number == 0)
        return portName;
    const std::string variable = "BRENNIX_" + portName;
    if (const char* path = std::getenv(variable.c_str()); path && *path)
        return path;
    if (configured) {
        std::string device = configured(number);
        if (!device.empty())
            return device;
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}
