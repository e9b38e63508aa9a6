// The simulated recorder or collector: answers one request frame at a time, independent of the
// line it is served on.
//
// Requests the device cannot parse (shorter than their command's parameters, a bad CRC, an
// unknown command, or a collector command sent to a recorder) get no reply. Well-formed requests
// it cannot serve get a reply without data (7 bytes): ReadMemory beyond the 128-byte memory,
// WriteByte beyond it (nothing is written), ReadGraph of a graph that is not stored, memory and
// graph commands on a collector without slots. SelectSlot of a slot that does not exist echoes
// 0xFFFF with an empty registration number and keeps the current slot.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "sim/content.h"
#include "sim/faults.h"

using bcdClock = std::array<uint8_t, 7>;

struct memoryWrite {
    unsigned slot;
    uint16_t address;
    uint8_t value;
};

class simDevice {
public:
    // Calendar seconds of the host; the device clock runs with it. The device clock keeps the
    // fields it was started with or set to and ticks them on without daylight saving, as a
    // recorder's real-time clock does.
    using hostClock = std::function<int32_t()>;
    static int32_t systemClock();

    simDevice(simContent content, faultPlan faults, hostClock clock = systemClock);

    // What goes on the line for one complete request frame.
    simReply answer(const byteString& request);

    const simContent& content() const { return state; }
    bcdClock clockNow() const;
    // The BCD clock of the last SetClock, if any.
    const std::optional<bcdClock>& lastClockSet() const { return clockSet; }
    const std::vector<memoryWrite>& writes() const { return memoryWrites; }
    unsigned selectedSlot() const { return selected; }

private:
    // Reply data, or nothing when the request gets no reply.
    std::optional<byteString> serve(uint8_t command, const byteString& parameters);
    simSlot* currentSlot();
    byteString selectSlot(unsigned slot);
    byteString readMemory(unsigned address, unsigned count);
    byteString writeByte(unsigned address, uint8_t value);
    byteString readGraph(unsigned number);

    simContent state;
    faultPlan faults;
    hostClock host;
    int64_t clockOffset;   // the clock's fields, counted as if UTC, less the host's time
    unsigned selected = 0;
    std::optional<bcdClock> clockSet;
    std::vector<memoryWrite> memoryWrites;
};
