#include "link/portNames.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

const char* const deviceKinds[] = {"ttyS", "ttyUSB", "ttyACM"};

// The number after the kind's name ("ttyUSB12" → 12), or -1 when the name is not the kind's.
long deviceNumber(const std::string& name, const std::string& kind)
{
    if (name.size() <= kind.size() || name.size() > kind.size() + 6 || name.compare(0, kind.size(), kind) != 0)
        return -1;
    long number = 0;
    for (std::size_t i = kind.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return -1;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

// Whether the kernel knows a UART behind a ttyS device: its class entry's "type" is not 0. A
// device without that entry (no such file system here) counts as a port.
bool hasUart(const std::string& ttyClass, const std::string& name)
{
    std::ifstream type(fs::path(ttyClass) / name / "type");
    int uart = 0;
    return !(type >> uart) || uart != 0;
}

}  // namespace

std::string environmentPortDevice(int portNumber)
{
    const std::string variable = "BRENNIX_COM" + std::to_string(portNumber);
    const char* path = std::getenv(variable.c_str());
    return path ? path : "";
}

std::string portDevicePath(const std::string& portName, const ConfiguredPortLookup& configured)
{
    const int number = comPortNumber(portName);
    if (number == 0)
        return portName;
    if (std::string path = environmentPortDevice(number); !path.empty())
        return path;
    if (configured) {
        std::string device = configured(number);
        if (!device.empty())
            return device;
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}

std::vector<std::string> presentSerialDevices(const std::string& devices, const std::string& ttyClass)
{
    std::vector<std::pair<long, std::string>> found[std::size(deviceKinds)];
    std::error_code error;
    for (fs::directory_iterator entry(devices, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        for (std::size_t kind = 0; kind < std::size(deviceKinds); ++kind) {
            const long number = deviceNumber(name, deviceKinds[kind]);
            std::error_code notFile;
            if (number < 0 || entry->is_directory(notFile))
                continue;
            if (kind == 0 && !hasUart(ttyClass, name))
                continue;
            found[kind].emplace_back(number, entry->path().string());
        }
    }
    std::vector<std::string> ports;
    for (auto& ofKind : found) {
        std::sort(ofKind.begin(), ofKind.end());
        for (auto& [number, path] : ofKind)
            ports.push_back(std::move(path));
    }
    return ports;
}
