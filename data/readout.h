// The readout engine: identifies the device on an opened link and reads one recorder, or every
// slot of a data collector, into crane data sets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "data/devLink.h"
#include "link/report.h"

class comm;

// Where a readout stands, for a progress display beside the status texts.
struct readoutProgress {
    unsigned crane = 0;    // the crane being read, from 1; 0 before the first
    unsigned cranes = 0;   // 1 for a recorder, the slot count of a collector; 0 until known
    unsigned graph = 0;    // the graph of that crane being read, from 1; 0 before its first
    unsigned graphs = 0;   // of that crane, ordinary and overload together; 0 until known
};
using ProgressCallback = std::function<void(const readoutProgress&)>;

// Reads the device behind an opened link and appends a devLink per recorder to cranes, in
// reading order. Recorder second counters become calendar times with recorderEpoch
// (computeRecorderEpoch). Progress and failures go through the two sinks with the readout's texts, and
// each step to progress, if given. A cancel of the link (comm::setCancelCheck) ends the readout
// after the exchange under way, which it abandons: cranes keeps every crane and graph read
// completely before, and the status text says so.
// Returns true when no error was logged and nothing was cancelled, i.e. the completion message
// is due.
bool readDevice(comm& link, aList& cranes, int32_t recorderEpoch, ReportCallback statusCallback,
                ReportCallback errorCallback, const ProgressCallback& progress = {});

// The status text of a readout the user has stopped, with what it keeps.
void reportCancelled(const aList& cranes, ReportCallback statusCallback);

// Decoding of the device's data, exposed for tests and tools.

// The device identifier in an Identify reply (identifyReplyLength bytes).
std::string decodeIdentifier(const uint8_t* reply);

// The number of slots in a SlotCount reply (slotCountReplyLength bytes).
uint16_t decodeSlotCount(const uint8_t* reply);

// A SelectSlot reply (selectSlotReplyLength bytes): the slot it selected, and into crane the
// slot's registration number, readout time (with recorderEpoch) and the name made of the two.
uint16_t decodeSlotSelection(const uint8_t* reply, int32_t recorderEpoch, devLink& crane);

// The 128-byte memory image into a crane; regNo only for a recorder read directly.
void decodeMemoryImage(const uint8_t* image, devLink& crane, bool takeRegNo);

// A ReadGraph reply of replyLength bytes (CRC included) into a new graph, never reading past
// the reply: a record claiming more points than arrived keeps the points that did.
cycLink* decodeGraphRecord(const uint8_t* reply, std::size_t replyLength);

// A fixed-size text field taken up to its first NUL.
std::string fixedText(const uint8_t* field, std::size_t size);
