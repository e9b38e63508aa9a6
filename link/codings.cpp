#include "link/codings.h"

#include <cmath>

#include "platform/localTime.h"

uint16_t swap16(uint16_t v) { return static_cast<uint16_t>((v >> 8) | (v << 8)); }

uint32_t swap32(uint32_t v)
{
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}

namespace {

// The broken-down local time of t, normalised, with the weekday counted 1 = Monday .. 7.
tm localClock(int32_t t, int& weekday)
{
    tm local{};
    localFields(t, local);
    weekday = local.tm_wday == 0 ? 7 : local.tm_wday;
    return local;
}

uint8_t bcd(int value)
{
    value %= 100;
    if (value < 0)
        value += 100;
    return static_cast<uint8_t>((value / 10) << 4 | (value % 10));
}

int fromBcd(uint8_t byte) { return (byte >> 4) * 10 + (byte & 0x0F); }

// Standard time (no daylight saving), normalised into a calendar time.
int32_t calendarTime(int sec, int min, int hour, int day, int month, int yearSince1900)
{
    tm local{};
    local.tm_sec = sec;
    local.tm_min = min;
    local.tm_hour = hour;
    local.tm_mday = day;
    local.tm_mon = month - 1;
    local.tm_year = yearSince1900;
    local.tm_isdst = 0;
    return static_cast<int32_t>(fromLocalFields(local));
}

}  // namespace

void toBcdClock(int32_t t, uint8_t clock[7])
{
    int weekday;
    const tm local = localClock(t, weekday);
    clock[0] = bcd(local.tm_sec);
    clock[1] = bcd(local.tm_min);
    clock[2] = bcd(local.tm_hour);
    clock[3] = bcd(weekday);
    clock[4] = bcd(local.tm_mday);
    clock[5] = bcd(local.tm_mon + 1);
    clock[6] = bcd(local.tm_year + 1900 - 2000);
}

int32_t fromBcdClock(const uint8_t clock[7])
{
    return calendarTime(fromBcd(clock[0]), fromBcd(clock[1]), fromBcd(clock[2]), fromBcd(clock[4]),
                        fromBcd(clock[5]), 100 + fromBcd(clock[6]));
}

void toBinaryClock(int32_t t, uint8_t clock[7])
{
    int weekday;
    const tm local = localClock(t, weekday);
    clock[0] = static_cast<uint8_t>(local.tm_sec);
    clock[1] = static_cast<uint8_t>(local.tm_min);
    clock[2] = static_cast<uint8_t>(local.tm_hour);
    clock[3] = static_cast<uint8_t>(weekday);
    clock[4] = static_cast<uint8_t>(local.tm_mday);
    clock[5] = static_cast<uint8_t>(local.tm_mon + 1);
    clock[6] = static_cast<uint8_t>(local.tm_year);
}

int32_t fromBinaryClock(const uint8_t clock[7])
{
    return calendarTime(clock[0], clock[1], clock[2], clock[4], clock[5], clock[6]);
}

float decodeFloat24(const uint8_t bytes[3])
{
    const int exponent = bytes[0] <= 128 ? bytes[0] : 128 - bytes[0];
    const unsigned mantissa = getBe16(bytes + 1);
    return static_cast<float>(std::ldexp(static_cast<double>(mantissa), exponent - 15));
}

int32_t computeRecorderEpoch()
{
    // 31 December 1903, 23:00:00 UTC, shifted to local standard time.
    const int64_t utcBase = -2082848400LL;
    return static_cast<int32_t>(utcBase - presentStandardOffset());
}

int32_t recorderTime(uint32_t counter, int32_t recorderEpoch)
{
    return static_cast<int32_t>(counter + static_cast<uint32_t>(recorderEpoch));
}
