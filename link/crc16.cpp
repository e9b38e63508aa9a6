#include "link/crc16.h"

crc16::crc16()
{
    for (unsigned i = 0; i < 256; ++i) {
        unsigned r = i << 8;
        for (int bit = 0; bit < 8; ++bit)
            r = (r & 0x8000) ? (r << 1) ^ 0x1021 : r << 1;
        table[i] = static_cast<uint16_t>(r);
    }
}

uint16_t crc16::update(uint8_t c)
{
    reg = static_cast<uint16_t>(((reg << 8) | c) ^ table[reg >> 8]);
    return reg;
}

uint16_t crc16::compute(const uint8_t* data, std::size_t n)
{
    reset();
    for (std::size_t i = 0; i < n; ++i)
        update(data[i]);
    return reg;
}

uint16_t crc16::packetCrc(const uint8_t* data, std::size_t n)
{
    compute(data, n);
    update(0);
    return update(0);
}
