// CRC-16 of the packet protocol: polynomial 0x1021, register preset 0xFFFF, bytes fed in at the
// bottom of the register. A packet's CRC is the register after the packet and two zero bytes,
// which equals CRC-16/AUG-CCITT; over a packet with its CRC appended the register ends at 0.
#pragma once

#include <cstddef>
#include <cstdint>

class crc16 {
public:
    crc16();
    void reset() { reg = 0xFFFF; }
    uint16_t update(uint8_t c);
    uint16_t compute(const uint8_t* data, std::size_t n);
    uint16_t value() const { return reg; }

    // The CRC of a packet body (the register after the bytes and two zeros).
    uint16_t packetCrc(const uint8_t* data, std::size_t n);

private:
    uint16_t table[256];
    uint16_t reg = 0xFFFF;
};
