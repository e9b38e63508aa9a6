// Value codings of recorder data: big-endian numbers, the two 7-byte clock formats and the
// 3-byte float. Clocks are seconds, minutes, hours, weekday (1 = Monday .. 7 = Sunday), day,
// month (1..12), year; calendar times are signed 32-bit seconds converted through local time.
#pragma once

#include <cstdint>

uint16_t swap16(uint16_t v);
uint32_t swap32(uint32_t v);

// Big-endian reads and writes on byte buffers (the callers check the bounds).
inline uint16_t getBe16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline uint32_t getBe24(const uint8_t* p) { return (uint32_t{p[0]} << 16) | (p[1] << 8) | p[2]; }
inline uint32_t getBe32(const uint8_t* p)
{
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
inline void putBe16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}
inline void putBe32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

// The value of a hexadecimal digit of either case, or -1.
inline int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// BCD clock (the recorder's real-time clock): each byte two decimal digits, year - 2000.
void toBcdClock(int32_t t, uint8_t clock[7]);
int32_t fromBcdClock(const uint8_t clock[7]);

// Binary clock (dates in the settings block): plain bytes, year - 1900.
void toBinaryClock(int32_t t, uint8_t clock[7]);
int32_t fromBinaryClock(const uint8_t clock[7]);

// The recorder counts seconds from 31 December 1903, 23:00 local standard time. The base is
// taken with the zone's present standard offset, so that counters agree with the recorder's
// clock as ReadClock gives it, whatever the zone's history in 1903.
int32_t computeRecorderEpoch();
// Calendar time of a recorder second counter: (counter + recorderEpoch) modulo 2^32, signed.
int32_t recorderTime(uint32_t counter, int32_t recorderEpoch);

// Exponent byte in sign-and-magnitude (0..128 as is, 129..255 mean 128 - byte), then a 16-bit
// mantissa M: M * 2^(exponent - 15), rounded to float.
float decodeFloat24(const uint8_t bytes[3]);
