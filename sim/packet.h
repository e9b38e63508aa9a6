// The device's side of the packet framing: sealing replies and cutting the host's byte stream
// into request frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Writes the total length (with the CRC) into bytes 2..3 and appends the CRC; the packet holds
// the 5-byte header and the data.
void sealPacket(std::vector<uint8_t>& packet);

// True when the packet ends with the right CRC of everything before it.
bool packetCrcValid(const std::vector<uint8_t>& packet);

// The reply to a request: its address bytes exchanged, its command code echoed, then data.
std::vector<uint8_t> replyPacket(const std::vector<uint8_t>& request, const std::vector<uint8_t>& data);

// Collects bytes into frames by the length field. A length that cannot be a request drops the
// first byte and looks again; a pause longer than silenceMs drops a partial frame, so that the
// device is in step again after the host has purged its line.
class requestFramer {
public:
    static constexpr int64_t silenceMs = 400;
    static constexpr std::size_t longestRequest = 64;

    // Feeds one byte received at nowMs (a monotonic clock); returns the frame this byte completes.
    std::optional<std::vector<uint8_t>> push(uint8_t byte, int64_t nowMs);

private:
    std::vector<uint8_t> partial;
    int64_t lastByteMs = 0;
};
