// Injected faults: which replies they hit and how they distort them.
//
// A fault is written TARGET:KIND[=N][@K|%P]
//   TARGET  "any" or a command name (Identify, SlotCount, SelectSlot, ReadMemory, WriteByte,
//           ReadLoad, ReadGraph, ReadClock, SetClock; any letter case), optionally followed by
//           "#N" (ReadGraph: graph number N = kind * 30 + index; WriteByte: the address N)
//           and/or "/slot=S" (any,
//           ReadMemory, ReadGraph, SelectSlot: the slot the request acts on, i.e. the one
//           requested by SelectSlot or the one selected for the others).
//   KIND    noreply | crc | command | address | truncate[=N] | delay=MS | length[=N] |
//           echo[=N] (SelectSlot only) | garbage[=N] | hangup[=N] | trickle=MS | babble[=N]
//   @K      only the first K requests it matches;  %P  each matching request with probability
//           P (0 < P <= 1);  neither: every matching request.
// A request gets at most one fault: the first in the list that matches and whose limit admits it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/crane.h"
#include "sim/random.h"

enum class faultKind {
    noReply,       // nothing is sent
    badCrc,        // the reply with its last CRC byte damaged
    wrongCommand,  // another command code, valid CRC
    wrongAddress,  // another first address byte, valid CRC
    truncate,      // the first N bytes (default half the reply), then silence
    delay,         // the reply after MS milliseconds
    length,        // N data bytes instead of the usual count (default one fewer), valid CRC
    echo,          // SelectSlot echoes slot N (default the requested one + 1), valid CRC
    garbage,       // N random bytes (default 12) instead of the reply
    hangUp,        // the first N bytes (default half the reply), then the line is closed
    trickle,       // the reply one byte every MS milliseconds
    babble,        // N zero bytes (default 600) one every 100 ms instead of the reply
};

struct faultSpec {
    std::optional<uint8_t> command;   // none: every command
    std::optional<unsigned> number;   // #N: ReadGraph's graph number or WriteByte's address
    std::optional<unsigned> slot;
    faultKind kind = faultKind::noReply;
    std::optional<unsigned> argument;
    unsigned firstTimes = 0;          // 0: no count limit
    double probability = 1;
    std::string text;                 // as written, for the log
};

// Parses one fault; on failure returns nothing and puts the reason into error.
std::optional<faultSpec> parseFault(const std::string& text, std::string& error);

// Command names as the faults and the log write them; nullptr for an unknown code.
const char* commandName(uint8_t code);

// What goes on the line for one request.
struct simReply {
    byteString bytes;        // may be empty: no reply
    unsigned delayMs = 0;    // wait before the first byte
    unsigned byteGapMs = 0;  // wait before each further byte; 0: as fast as the line goes
    bool hangUp = false;     // close the line after the bytes
    std::string fault;       // the fault applied, empty when none
};

// What a request acts on, as faults target it.
struct requestTarget {
    uint8_t command = 0;
    unsigned slot = 0;
    std::optional<unsigned> number;   // ReadGraph's graph number, WriteByte's address
};

class faultPlan {
public:
    explicit faultPlan(std::vector<faultSpec> faults = {}, uint64_t seed = 1);

    // The reply as sent: the normal reply packet, distorted by the fault that hits, if any.
    simReply deliver(const requestTarget& target, byteString reply);

private:
    const faultSpec* pick(const requestTarget& target);

    std::vector<faultSpec> faults;
    std::vector<unsigned> hits;
    simRandom random;
};
