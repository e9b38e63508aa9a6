#include "link/portNames.h"

#include <cstdlib>
#include <utility>

namespace {

ConfiguredPortLookup& configuredLookup()
{
    static ConfiguredPortLookup lookup;
    return lookup;
}

// 1..4 for "COM1".."COM4", 0 for any other name.
int comPortNumber(const std::string& portName)
{
    if (portName.size() == 4 && portName.compare(0, 3, "COM") == 0 && portName[3] >= '1' &&
        portName[3] <= '4')
        return portName[3] - '0';
    return 0;
}

}  // namespace

void setConfiguredPortLookup(ConfiguredPortLookup lookup)
{
    configuredLookup() = std::move(lookup);
}

std::string portDevicePath(const std::string& portName)
{
    const int number = comPortNumber(portName);
    if (number == 0)
        return portName;
    const std::string variable = "BRENNIX_" + portName;
    if (const char* path = std::getenv(variable.c_str()); path && *path)
        return path;
    if (configuredLookup()) {
        std::string configured = configuredLookup()(number);
        if (!configured.empty())
            return configured;
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}
