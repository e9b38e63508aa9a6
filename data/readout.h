// The readout engine: identifies the device on an opened link and reads one recorder, or every
// slot of a data collector, into crane data sets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "data/devLink.h"
#include "link/report.h"

class comm;

// Reads the device behind an opened link and appends a devLink per recorder to cranes, in
// reading order. Progress and failures go through the two sinks with the readout's texts.
// Returns true when no error was logged, i.e. the completion message is due.
bool readDevice(comm& link, aList& cranes, ReportCallback statusCallback,
                ReportCallback errorCallback);

// Decoding of the device's data, exposed for tests and tools.

// The 128-byte memory image into a crane; regNo only for a recorder read directly.
void decodeMemoryImage(const uint8_t* image, devLink& crane, bool takeRegNo);

// A ReadGraph reply of replyLength bytes (CRC included) into a new graph, never reading past
// the reply: a record claiming more points than arrived keeps the points that did.
cycLink* decodeGraphRecord(const uint8_t* reply, std::size_t replyLength);

// A fixed-size text field taken up to its first NUL.
std::string fixedText(const uint8_t* field, std::size_t size);
