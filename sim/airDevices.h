// The devices of the emulated IrDA air and the answers of its line protocol (see
// link/irdaSocketsEmulated.cpp), without I/O.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/irdaSockets.h"

// IAS attribute types as the stack reports them.
enum class airAttribute { none = 0, integer = 1, octets = 2 };

struct airDevice {
    uint32_t id = 0;
    std::string name;
    airAttribute type = airAttribute::octets;   // of the "Parameters" attribute
    std::vector<uint8_t> parameters;
};

// One device from "ID:NAME:PARAMS": ID 8 hex digits, NAME 1 to 22 bytes without control
// characters, PARAMS hex octet pairs (an octet sequence, possibly empty), "int" (an integer
// attribute) or "none" (no such attribute). Nothing, with the reason in why, when malformed.
std::optional<airDevice> parseAirDevice(const std::string& text, std::string& why);

// The device an air holds when none is named.
airDevice defaultAirDevice();

struct airSettings {
    std::vector<airDevice> devices;
    bool refuse = false;                // connections to the IrCOMM service are refused
    std::optional<uint64_t> announced;  // the device count the list announces, if not theirs
    unsigned lineGapMs = 0;             // pause before each device line of the list
};

// The number of device lines that follow the list's first line: the devices in range, or the
// count announced, however large.
uint64_t airListLength(const airSettings& settings);
// Device line `index` of the list: the devices in range, over and over when more are announced.
std::string airDeviceLine(const airSettings& settings, uint64_t index);

// The answer line (without its newline) to one request line of the host's stack; to ENUM the
// list's first line, which airListLength device lines follow. A CONNECT that succeeds sets
// connected to the device's identifier.
std::string answerAirRequest(const std::string& request, const airSettings& settings,
                             std::optional<uint32_t>& connected);
