// The emulated IrDA "air" the host's IrDA stack reaches through a Unix-domain socket: the
// devices in range with their names, identifiers and IrCOMM "Parameters", and, once the host
// has connected to one of them, the IrCOMM byte stream to the simulated device.
#pragma once

#include <csignal>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/irdaSockets.h"
#include "sim/device.h"
#include "sim/lineServer.h"
#include "sim/packet.h"

// IAS attribute types as the stack reports them.
enum class airAttribute { none = 0, integer = 1, octets = 2 };

struct airDevice {
    uint32_t id = 0;
    std::string name;
    airAttribute type = airAttribute::octets;   // of the "Parameters" attribute
    byteString parameters;
};

// One device from "ID:NAME:PARAMS": ID 8 hex digits, NAME 1 to 22 bytes without control
// characters, PARAMS hex octet pairs (an octet sequence, possibly empty), "int" (an integer
// attribute) or "none" (no such attribute). Nothing, with the reason in why, when malformed.
std::optional<airDevice> parseAirDevice(const std::string& text, std::string& why);

// The device an air holds when none is named.
airDevice defaultAirDevice();

struct airSettings {
    std::vector<airDevice> devices;
    bool refuse = false;   // connections to the IrCOMM service are refused
};

// The answer line (without its newline) to one request line of the host's stack. A CONNECT
// that succeeds sets connected to the device's identifier.
std::string answerAirRequest(const std::string& request, const airSettings& settings,
                             std::optional<uint32_t>& connected);

class irdaAir {
public:
    irdaAir(std::string path, airSettings settings)
        : path(std::move(path)), settings(std::move(settings))
    {
    }
    ~irdaAir();
    irdaAir(const irdaAir&) = delete;
    irdaAir& operator=(const irdaAir&) = delete;

    // Listens at the path (replacing a socket left there, never another kind of file); the
    // path appears only once hosts can connect. False, with the reason in error, on failure.
    bool open(std::string& error);

    // Serves one host after another until stop is set.
    void serve(simDevice& device, const lineSettings& line, const volatile std::sig_atomic_t& stop);

    // Identifiers of the devices connected to, in order.
    const std::vector<uint32_t>& connections() const { return connected; }

private:
    void serveHost(int fd, simDevice& device, const lineSettings& line,
                   const volatile std::sig_atomic_t& stop);

    std::string path;
    airSettings settings;
    int listener = -1;
    std::vector<uint32_t> connected;
};
