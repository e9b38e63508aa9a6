// One open byte channel under the recorder link (a serial port, later an IrDA socket). The link
// frames and checks packets; a transport only moves bytes and recovers the line between attempts.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>

#include "link/codings.h"
#include "link/commands.h"
#include "link/linkCancel.h"

// The two address bytes and the length field open every reply.
constexpr std::size_t replyLengthFieldEnd = 4;

// The total length of a reply of which `received` bytes are in: what its length field says once
// the field is in, until then the most the field can say. 0 for a reply longer than capacity,
// which cannot be taken; the clearing after the failed attempt discards its rest.
inline std::size_t expectedReplyLength(const uint8_t* reply, std::size_t received, std::size_t capacity)
{
    if (received < replyLengthFieldEnd)
        return replyCapacity;
    const std::size_t length = getBe16(reply + 2);
    return length > capacity ? 0 : length;
}

// Longest silence on the line that a read waits out, on either transport.
constexpr std::chrono::milliseconds receiveWait{2000};
// What a serial read may take per byte asked for, beyond receiveWait.
constexpr std::chrono::milliseconds receiveTimePerByte{5};

// The longest one whole reply of `length` bytes may take to come in, counted from the end of its
// request: the total time-outs of the two serial reads that take a reply, its first four bytes
// (2000 + 5·4 ms) and the rest (2000 + 5·(length − 4) ms), so 4000 + 5·length ms: 4.1 s for an
// identifier, 4.7 s for the memory image, 331.7 s for the longest reply the length field can
// announce. The per-read rules alone leave a reply unbounded (a device sending a byte every 1.9 s
// never lets a read end), so every exchange is capped at this as well; IrCOMM carries the same
// byte stream and is given the same time.
constexpr linkClock::duration replyTimeLimit(std::size_t length)
{
    return 2 * receiveWait + receiveTimePerByte * static_cast<long>(length);
}

// A reply on its way in: the bytes that have arrived, and until when the rest may come. The
// limit is that of the longest reply until the length field is in, then that of the reply it
// announces.
class incomingReply {
public:
    incomingReply(uint8_t* data, std::size_t capacity) : data(data), capacity(capacity) {}

    std::size_t expected() const { return expectedReplyLength(data, received, capacity); }
    // How many bytes to take next while the reply is not whole: the rest of its length field,
    // then the rest of the reply that announces, and never more than there is room for.
    std::size_t wanted() const
    {
        const std::size_t rest = received < replyLengthFieldEnd ? replyLengthFieldEnd - received
                                                                : expected() - received;
        return std::min(rest, room());
    }
    linkClock::time_point due() const { return start + replyTimeLimit(expected()); }
    uint8_t* end() const { return data + received; }
    std::size_t room() const { return capacity - received; }

    uint8_t* const data;
    const std::size_t capacity;
    std::size_t received = 0;

private:
    const linkClock::time_point start = linkClock::now();
};

class linkTransport {
public:
    virtual ~linkTransport() = default;

    // False once the channel has been closed, by close() or by a failure of its own. The link
    // calls exchange and clear only while the channel is open.
    virtual bool isOpen() const = 0;

    // Sends the whole packet, then receives one reply whose end is known from its length field,
    // writing at most capacity bytes into reply. Returns the byte count, or 0 for a failure
    // (reported, channel closed), a time-out (silent), a reply that outlasts replyTimeLimit
    // (silent) or a cancel (silent).
    virtual std::size_t exchange(const uint8_t* packet, std::size_t length, uint8_t* reply,
                                 std::size_t capacity) = 0;

    // Gets the line back into a known state after a failed attempt.
    virtual void clear() = 0;

    // Releases the channel; does nothing when it is already closed.
    virtual void close() = 0;
};
