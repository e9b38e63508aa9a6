// The settings page's exchanges with a recorder on an opened link: the live load code for
// calibration, and writing the settings block back with the recorder's clock.
#pragma once

#include <cstdint>

#include "link/report.h"
#include "setup/settingsBlock.h"

class comm;

// The current ADC code of the load sensor, or 0 after reporting the failure.
uint8_t readLoadCode(comm& link, ReportCallback errorCallback);

// Checks the link with a 64-byte read, builds the block from the fields (every input error
// reported, nothing written), writes it byte by byte in address order, then sets the recorder's
// clock to the local time of now. Stops at the first failure; bytes written stay written.
// Returns true when everything went well.
bool writeSettings(comm& link, const settingsFields& fields, int32_t now,
                   ReportCallback statusCallback, ReportCallback errorCallback);
