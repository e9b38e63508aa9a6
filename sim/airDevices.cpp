#include "sim/airDevices.h"

#include <cerrno>
#include <sstream>

#include "link/irdaAirText.h"

namespace {

constexpr const char* ircommClass = "IrDA:IrCOMM";
constexpr const char* parametersAttribute = "Parameters";
constexpr const char* ircommService = "IrDA:IrCOMM";

const airDevice* findDevice(const airSettings& settings, const std::string& idText)
{
    uint32_t id = 0;
    if (!parseAirId(idText, id))
        return nullptr;
    for (const airDevice& d : settings.devices)
        if (d.id == id)
            return &d;
    return nullptr;
}

std::string errorLine(int code) { return "ERR " + std::to_string(code); }

}  // namespace

std::optional<airDevice> parseAirDevice(const std::string& text, std::string& why)
{
    const std::size_t first = text.find(':');
    const std::size_t last = text.rfind(':');
    if (first == std::string::npos || first == last) {
        why = "expected ID:NAME:PARAMS";
        return std::nullopt;
    }
    airDevice device;
    if (!parseAirId(text.substr(0, first), device.id)) {
        why = "the identifier is not 8 hex digits";
        return std::nullopt;
    }
    device.name = text.substr(first + 1, last - first - 1);
    if (device.name.empty() || device.name.size() > irdaDeviceNameSize) {
        why = "the name must have 1 to 22 bytes";
        return std::nullopt;
    }
    for (const char c : device.name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            why = "the name holds a control character";
            return std::nullopt;
        }
    const std::string params = text.substr(last + 1);
    if (params == "int") {
        device.type = airAttribute::integer;
        return device;
    }
    if (params == "none") {
        device.type = airAttribute::none;
        return device;
    }
    if (!parseAirOctets(params, irdaOctetSeqMax, device.parameters)) {
        why = "the parameters must be pairs of hex digits, at most 1024 octets";
        return std::nullopt;
    }
    return device;
}

airDevice defaultAirDevice()
{
    // A recorder offering IrCOMM with the 9-wire service type.
    return {0x1A2B3C4D, "brennix-sim", airAttribute::octets, {0x00, 0x01, 0x04}};
}

uint64_t airListLength(const airSettings& settings)
{
    return settings.announced.value_or(settings.devices.size());
}

std::string airDeviceLine(const airSettings& settings, uint64_t index)
{
    const airDevice& d = settings.devices.at(index % settings.devices.size());
    return "DEVICE " + airIdText(d.id) + " " + d.name;
}

std::string answerAirRequest(const std::string& request, const airSettings& settings,
                             std::optional<uint32_t>& connected)
{
    std::istringstream words(request);
    std::string verb, id, name, attribute;
    words >> verb >> id >> name >> attribute;
    if (verb == "ENUM")
        return "DEVICES " + std::to_string(airListLength(settings));
    if (verb == "NINEWIRE")
        return "OK";
    const airDevice* device = findDevice(settings, id);
    if (verb == "IAS") {
        if (!device)
            return errorLine(EHOSTUNREACH);
        if (name != ircommClass || attribute != parametersAttribute
            || device->type == airAttribute::none)
            return "ATTR 0";
        if (device->type == airAttribute::integer)
            return "ATTR 1";
        return "ATTR 2 " + airOctetsText(device->parameters);
    }
    if (verb == "CONNECT") {
        if (!device)
            return errorLine(EHOSTUNREACH);
        if (name != ircommService || settings.refuse)
            return errorLine(ECONNREFUSED);
        connected = device->id;
        return "OK";
    }
    return errorLine(EINVAL);
}
