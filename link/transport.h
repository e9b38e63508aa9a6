// One open byte channel under the recorder link (a serial port, later an IrDA socket). The link
// frames and checks packets; a transport only moves bytes and recovers the line between attempts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/codings.h"
#include "link/commands.h"

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

class linkTransport {
public:
    virtual ~linkTransport() = default;

    // False once the channel has been closed, by close() or by a failure of its own. The link
    // calls exchange and clear only while the channel is open.
    virtual bool isOpen() const = 0;

    // Sends the whole packet, then receives one reply whose end is known from its length field,
    // writing at most capacity bytes into reply. Returns the byte count, or 0 for a failure
    // (reported, channel closed) or a time-out (silent).
    virtual std::size_t exchange(const uint8_t* packet, std::size_t length, uint8_t* reply,
                                 std::size_t capacity) = 0;

    // Gets the line back into a known state after a failed attempt.
    virtual void clear() = 0;

    // Releases the channel; does nothing when it is already closed.
    virtual void close() = 0;
};
