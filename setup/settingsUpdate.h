// The settings page's exchanges with a recorder on an opened link: the live load code for
// calibration, and writing the settings block back with the recorder's clock.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/report.h"
#include "setup/settingsBlock.h"

class comm;

// The current ADC code of the load sensor, or 0 after reporting the failure.
uint8_t readLoadCode(comm& link, ReportCallback errorCallback);

// What the engineer confirms before the block is written.
struct settingsQuestion {
    std::string identifier;   // the device's answer to Identify: "RP_v0001" for a recorder
    settingsBlock current;    // bytes 0..63 of the device's memory as read before writing
    settingsBlock next;       // the block to be written
};

// True when the block may be written.
using ConfirmCallback = std::function<bool(const settingsQuestion&)>;

// Asks the device who it is, reads its 64-byte settings block (which also checks the link),
// builds the block from the fields (every input error reported, nothing written), and asks
// confirm. Only then writes the block byte by byte in address order and sets the recorder's
// clock to the local time of now. Stops at the first failure or refusal; bytes written stay
// written. Returns true when everything went well and was confirmed.
bool writeSettings(comm& link, const settingsFields& fields, int32_t now,
                   ReportCallback statusCallback, ReportCallback errorCallback,
                   const ConfirmCallback& confirm);
