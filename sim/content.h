// Everything a simulated device holds: its kind, identifier, clock, live load code and slots
// (a recorder has one slot, a collector one per recorder it has read).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/commands.h"
#include "sim/crane.h"

enum class deviceKind { recorder, collector };

struct simContent {
    deviceKind kind = deviceKind::recorder;
    std::string identifier = "RP_v0001";   // 8 characters in the Identify reply
    int32_t clock = 0;                     // device clock when the device starts serving
    uint8_t loadCode = 0;                  // the ADC code ReadLoad reports
    std::vector<simSlot> slots;
};

inline const char* defaultIdentifier(deviceKind kind)
{
    return kind == deviceKind::collector ? collectorIdentifier : recorderIdentifier;
}
