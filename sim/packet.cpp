#include "sim/packet.h"

#include <algorithm>

#include "link/codings.h"
#include "link/commands.h"
#include "link/crc16.h"

void sealPacket(std::vector<uint8_t>& packet)
{
    const std::size_t body = packet.size();
    putBe16(packet.data() + 2, static_cast<uint16_t>(body + packetCrcSize));
    crc16 crc;
    const uint16_t sum = crc.packetCrc(packet.data(), body);
    packet.push_back(static_cast<uint8_t>(sum >> 8));
    packet.push_back(static_cast<uint8_t>(sum));
}

bool packetCrcValid(const std::vector<uint8_t>& packet)
{
    crc16 crc;
    return packet.size() >= smallestPacket && crc.compute(packet.data(), packet.size()) == 0;
}

std::vector<uint8_t> replyPacket(const std::vector<uint8_t>& request, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> reply(packetHeaderSize + data.size());
    reply[0] = request[1];
    reply[1] = request[0];
    reply[4] = request[4];
    std::copy(data.begin(), data.end(), reply.begin() + packetHeaderSize);
    sealPacket(reply);
    return reply;
}

std::optional<std::vector<uint8_t>> requestFramer::push(uint8_t byte, int64_t nowMs)
{
    if (!partial.empty() && nowMs - lastByteMs > silenceMs)
        partial.clear();
    lastByteMs = nowMs;
    partial.push_back(byte);
    while (partial.size() >= 4) {
        const std::size_t length = getBe16(partial.data() + 2);
        if (length >= smallestPacket && length <= longestRequest)
            break;
        partial.erase(partial.begin());
    }
    if (partial.size() < 4 || partial.size() < getBe16(partial.data() + 2))
        return std::nullopt;
    std::vector<uint8_t> frame;
    frame.swap(partial);
    return frame;
}
